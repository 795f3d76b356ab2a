// What a host does to a listing while another part of it still runs: an Init
// from a timer while the preview (or one of its dialogs) is open, and Abort,
// Show, Init or the component's end while the preview prints or exports (an
// Init over a listing being composed, or refused, is in lifecycle_test). The
// listing that should exist is read back as a PDF; the spool files and the
// host's window are checked too.

#include "CupsOutput.h"
#include "PreviewDriver.h"
#include "compose/ListingState.h"
#include "control/Runtime.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <memory>

using namespace preview_driver;
using namespace quillet::testing;
using quillet::Quillet;
using quillet::state;

namespace {

enum class HostCall { Abort, Show, Init, Destroy };
enum class Replay { Print, Export };

} // namespace

class ListingOwnerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_temp.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
    }

    void cleanup()
    {
        m_control->Abort();
        QVERIFY(m_host.isEnabled());
        QCOMPARE(spoolFiles(), QStringList());
    }

    void initFromATimerWhileThePreviewIsOpen_data()
    {
        QTest::addColumn<QString>("openDialog");
        QTest::newRow("preview only") << QString();
        QTest::newRow("find dialog") << QStringLiteral("quillet::FindDialog"); // its loop runs on top
        QTest::newRow("message box") << QStringLiteral("QMessageBox"); // two loops above the preview's
    }

    void initFromATimerWhileThePreviewIsOpen()
    {
        QFETCH(QString, openDialog);
        const QByteArray dialogClass = openDialog.toLatin1();
        open(*m_control, QStringLiteral("Primeira"));
        m_control->L(QStringLiteral("Primeira listagem"));
        const auto replace = [this](QWidget &) {
            open(*m_control, QStringLiteral("Segunda"));
            m_control->L(QStringLiteral("Segunda listagem"));
        };
        onNextModal("quillet::PreviewWindow", [&](QWidget &preview) {
            if (openDialog.isEmpty()) {
                replace(preview);
                return;
            }
            onNextModal(dialogClass.constData(), replace);
            if (openDialog == QLatin1String("QMessageBox")) // a text that is not there
                onNextModal("quillet::FindDialog", [](QWidget &find) {
                    child<QLineEdit>(find, "TB1")->setText(QStringLiteral("ausente"));
                    child<QPushButton>(find, "Command1")->click();
                });
            child<QToolButton>(preview, "butFIND")->click();
        });
        m_control->Show(); // the first preview closes under the new listing

        QVERIFY(state().Spooling && !m_host.isEnabled()); // the new listing is being composed
        QCOMPARE(savedText(*m_control), QStringLiteral("Segunda listagem"));
        showAndCheck(*m_control, [](PreviewWindow &window) {
            QCOMPARE(window.windowTitle(), QStringLiteral("Segunda"));
        });
        QVERIFY(m_host.isEnabled());
    }

    void hostCallsWhileThePreviewPrintsOrExports_data()
    {
        QTest::addColumn<Replay>("replay");
        QTest::addColumn<HostCall>("call");
        QTest::addColumn<bool>("whole"); // the job ends whole; otherwise nothing of it comes out
        QTest::newRow("print, Abort") << Replay::Print << HostCall::Abort << false;
        // Show while previewing is a no-op.
        QTest::newRow("print, Show") << Replay::Print << HostCall::Show << true;
        QTest::newRow("print, Init") << Replay::Print << HostCall::Init << false;
        QTest::newRow("print, component deleted") << Replay::Print << HostCall::Destroy << false;
        QTest::newRow("export, Abort") << Replay::Export << HostCall::Abort << false;
        QTest::newRow("export, Init") << Replay::Export << HostCall::Init << false;
        QTest::newRow("export, component deleted") << Replay::Export << HostCall::Destroy << false;
    }

    void hostCallsWhileThePreviewPrintsOrExports()
    {
        QFETCH(Replay, replay);
        QFETCH(HostCall, call);
        QFETCH(bool, whole);
        if (replay == Replay::Print && !hasCupsPdfQueue())
            QSKIP("no CUPS queue named PDF as the default printer");
        auto *control = new Quillet(&m_host);
        const QString name = uniqueDocumentName(QStringLiteral("owner-"));
        const QString exported = m_temp.filePath(name + QStringLiteral(".pdf"));
        composeSheets(*control, name, 200);

        atPageOfNextJob(3, [&](QWidget &) {
            switch (call) {
            case HostCall::Abort:
                control->Abort();
                break;
            case HostCall::Show:
                control->Show();
                break;
            case HostCall::Init:
                open(*control, QStringLiteral("Nova"));
                control->L(QStringLiteral("Nova listagem"));
                break;
            case HostCall::Destroy:
                delete std::exchange(control, nullptr);
                break;
            }
        });
        onNextModal("quillet::PreviewWindow", [&](QWidget &preview) {
            const QPointer<QWidget> window(&preview);
            if (replay == Replay::Print) {
                clickPrint(static_cast<PreviewWindow &>(preview));
            } else {
                onNextModal("QFileDialog", [&](QWidget &dialog) {
                    onNextModal("quillet::PageRangeDialog",
                                [](QWidget &pages) { child<QPushButton>(pages, "Command1")->click(); });
                    static_cast<QFileDialog &>(dialog).selectFile(exported);
                    QMetaObject::invokeMethod(&dialog, "accept");
                });
                child<QToolButton>(preview, "butPDF")->click();
            }
            if (window && window->isVisible())
                window->close(); // the call left the preview open
        });
        control->Show(); // returns once the preview has closed, under the call or after it

        if (replay == Replay::Export) {
            QVERIFY(!QFile::exists(exported));
        } else {
            const QString pdf = waitForCupsPdf(name, whole ? 30000 : 1500);
            QCOMPARE(pdf.isEmpty(), !whole);
            if (whole) {
                QCOMPARE(pdfPageCount(pdf), 200);
                QFile::remove(pdf);
            }
        }
        if (call == HostCall::Init) {
            QCOMPARE(spoolFiles().size(), 2);
            QCOMPARE(savedText(*control), QStringLiteral("Nova listagem"));
        }
        delete control;
        m_host.setEnabled(true);
    }

private:
    void open(Quillet &control, const QString &name)
    {
        QCOMPARE(control.Init(&m_host, name, QStringLiteral("S"), QStringLiteral("P"), QStringLiteral("A4"),
                              true, true, true, true, false, true, false, true),
                 quint8(0));
    }

    /// The spool files in the temporary folder.
    QStringList spoolFiles() const
    {
        return QDir(m_temp.path()).entryList({QStringLiteral("Prt*")}, QDir::Files);
    }

    /// The text of the listing, saved as a PDF and read back.
    QString savedText(Quillet &control)
    {
        const QString path = m_temp.filePath(QStringLiteral("saved.pdf"));
        if (!control.SavePDF(path))
            return QStringLiteral("(not saved)");
        const QString text = pdfLayoutPages(path).join(QLatin1Char('\f')).simplified();
        QFile::remove(path);
        return text;
    }

    QTemporaryDir m_temp;
    QWidget m_host;
    std::unique_ptr<Quillet> m_owned = std::make_unique<Quillet>();
    Quillet *m_control = m_owned.get();
};

QTEST_MAIN(ListingOwnerTest)
#include "listing_owner_test.moc"
