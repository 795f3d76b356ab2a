// What a host does to a listing from inside the preview's nested loops, while
// another part of it still runs (an Init over a listing being composed, or
// refused, is in lifecycle_test). The listing that should exist is read back
// as a PDF.

#include "CupsOutput.h"
#include "PreviewDriver.h"
#include "compose/ListingState.h"
#include "control/Runtime.h"

using namespace preview_driver;
using namespace quillet::testing;
using quillet::Quillet;
using quillet::state;

namespace {

enum class HostCall { Abort, Show, Init, Destroy };
/// What runs when the host calls: a print or an export at its third page, or
/// the preview alone, or its find dialog, or a message box over that dialog.
enum class During { Print, Export, Preview, FindDialog, MessageBox };

} // namespace

class ListingOwnerTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        m_control.Abort();
        QVERIFY(m_host.isEnabled());
        QCOMPARE(spoolFiles(), QStringList());
    }

    void hostCallsWhileThePreviewRuns_data()
    {
        QTest::addColumn<During>("during");
        QTest::addColumn<HostCall>("call");
        QTest::addColumn<bool>("whole"); // the job ends whole; otherwise nothing of it comes out
        QTest::newRow("print, Abort") << During::Print << HostCall::Abort << false;
        // Show while previewing is a no-op.
        QTest::newRow("print, Show") << During::Print << HostCall::Show << true;
        QTest::newRow("print, Init") << During::Print << HostCall::Init << false;
        QTest::newRow("print, component deleted") << During::Print << HostCall::Destroy << false;
        QTest::newRow("export, Abort") << During::Export << HostCall::Abort << false;
        QTest::newRow("export, Init") << During::Export << HostCall::Init << false;
        QTest::newRow("export, component deleted") << During::Export << HostCall::Destroy << false;
        QTest::newRow("preview, Init from a timer") << During::Preview << HostCall::Init << false;
        // The dialog's loop runs on top of the preview's, and a message box's on top of both.
        QTest::newRow("find dialog, Init") << During::FindDialog << HostCall::Init << false;
        QTest::newRow("message box, Init") << During::MessageBox << HostCall::Init << false;
    }

    void hostCallsWhileThePreviewRuns()
    {
        QFETCH(During, during);
        QFETCH(HostCall, call);
        QFETCH(bool, whole);
        if (during == During::Print && !hasCupsPdfQueue())
            QSKIP("no CUPS queue named PDF as the default printer");
        auto *control = new Quillet(&m_host);
        const QString name = uniqueDocumentName(QStringLiteral("owner-"));
        const QString exported = m_temp.filePath(name + QStringLiteral(".pdf"));
        composeSheets(*control, name, during == During::Print || during == During::Export ? 200 : 2);

        const auto hostCall = [&](QWidget &) {
            if (call == HostCall::Abort)
                control->Abort();
            else if (call == HostCall::Show)
                control->Show();
            else if (call == HostCall::Destroy)
                delete std::exchange(control, nullptr);
            else if (control->Init(&m_host, QStringLiteral("Nova"), QStringLiteral("S"), QStringLiteral("P"),
                                   QStringLiteral("A4"), true, true, true, true, false, true, false,
                                   true) == 0)
                control->L(QStringLiteral("Nova listagem"));
        };
        if (during == During::Print || during == During::Export)
            atPageOfNextJob(3, hostCall);
        onNextModal("quillet::PreviewWindow", [&](QWidget &preview) {
            const QPointer<QWidget> window(&preview);
            switch (during) {
            case During::Print:
                clickPrint(static_cast<PreviewWindow &>(preview));
                break;
            case During::Export:
                answerSaveDialogs(exported, QStringLiteral("1-"));
                child<QToolButton>(preview, "butPDF")->click();
                break;
            case During::Preview:
                hostCall(preview);
                break;
            case During::MessageBox: // that of a text not found
                onNextModal("quillet::FindDialog", [](QWidget &find) {
                    child<QLineEdit>(find, "TB1")->setText(QStringLiteral("ausente"));
                    child<QPushButton>(find, "Command1")->click();
                });
                [[fallthrough]];
            case During::FindDialog:
                onNextModal(during == During::FindDialog ? "quillet::FindDialog" : "QMessageBox", hostCall);
                child<QToolButton>(preview, "butFIND")->click();
                break;
            }
            if (window && window->isVisible())
                window->close(); // the call left the preview open
        });
        control->Show(); // returns once the preview has closed, under the call or after it

        if (during == During::Export) {
            QVERIFY(!QFile::exists(exported));
        } else if (during == During::Print) {
            const qsizetype sheets = printedSheets(name, whole ? 30000 : 1500).size();
            if (whole || printsThroughLibcups())
                QCOMPARE(sheets, whole ? 200 : 0);
            else
                qInfo("SKIP the discarded job's sheets: built without libcups, Qt's CUPS engine prints "
                      "the pages it has spooled");
        }
        if (call == HostCall::Init) {
            QVERIFY(state().Spooling && !m_host.isEnabled()); // the new listing is being composed
            QCOMPARE(spoolFiles().size(), 2);
            const QString saved = m_temp.filePath(QStringLiteral("saved.pdf")); // the new listing's text
            QVERIFY(control->SavePDF(saved));
            QCOMPARE(pdfLayoutPages(saved).join(u'\f').simplified(), QStringLiteral("Nova listagem"));
            showAndCheck(*control, [](PreviewWindow &window) {
                QCOMPARE(window.windowTitle(), QStringLiteral("Nova"));
            });
        }
        delete control;
        m_host.setEnabled(true);
    }

private:
    QStringList spoolFiles() const
    {
        return QDir(m_temp.path()).entryList({QStringLiteral("Prt*")}, QDir::Files);
    }

    PrivateTemporaryFolder m_temp;
    QWidget m_host;
    Quillet m_control; // ends whatever a failed row left open
};

QTEST_MAIN(ListingOwnerTest)
#include "listing_owner_test.moc"
