// Opening and ending listings through the widget, on the real printer set-up.

#include "CupsOutput.h"
#include "compose/Session.h"
#include "quillet/ListingState.h"
#include "quillet/Quillet.h"
#include "spool/SpoolRecord.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <sys/stat.h>

using quillet::Quillet;
using quillet::state;

namespace {

QWidget *topLevel(const QString &objectName)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == objectName && w->isVisible())
            return w;
    return nullptr;
}

/// Closes the preview window once it is shown, after running check inside it.
void closePreviewWhenShown(std::function<void()> check = {})
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, check] {
        if (QWidget *preview = topLevel(QStringLiteral("ScrLst"))) {
            poll->stop();
            poll->deleteLater();
            if (check)
                check();
            preview->close();
        }
    });
    poll->start(10);
}

int spoolSlots()
{
    return static_cast<int>(QFileInfo(QString::fromStdString(state().SpoolPath)).size() / quillet::SlotSize);
}

} // namespace

class LifecycleTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        m_control.setAbortPRT(false); // clears the flag and ends whatever is open
        m_host.setEnabled(true);
    }

    void defaultsOpenPreviewOnA4Portrait()
    {
        QCOMPARE(m_control.Init(&m_host, QStringLiteral("  Vendas  ")), quint8(0));
        QVERIFY(state().Preview && state().Spooling);
        QCOMPARE(state().ListName, std::string("Vendas"));
        QCOMPARE(state().PrtOri, 1);
        QCOMPARE(state().PrtPaper, 9);
        QCOMPARE(m_control.PW(), 210.0f);
        QCOMPARE(m_control.PH(), 297.0f);
        QCOMPARE(m_control.CurX(), 0.0f);
        QCOMPARE(m_control.CurY(), 0.0f);
        QCOMPARE(state().CurPage, 1);
        QCOMPARE(state().PageIndex, std::vector<int32_t>{1});
        QVERIFY(!m_host.isEnabled());

        // The spool file exists, is private, and already holds the page defaults.
        const QString spool = QString::fromStdString(state().SpoolPath);
        QVERIFY(QFileInfo(spool).fileName().startsWith(QStringLiteral("Prt")));
        struct stat info {};
        QCOMPARE(::stat(spool.toLocal8Bit().constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0600u);
        QCOMPARE(spoolSlots(), 9); // eight default commands, the font name in one chunk

        QWidget *wait = topLevel(QStringLiteral("wWAIT"));
        QVERIFY(wait);
        QCOMPARE(wait->windowTitle(), QStringLiteral("Compondo a Listagem..."));
        QCOMPARE(wait->findChild<QLabel *>(QStringLiteral("LBName"))->text(), QStringLiteral("Vendas"));
        QCOMPARE(wait->findChild<QLabel *>(QStringLiteral("LBPag"))->text(), QStringLiteral("Página 1"));
        QVERIFY(wait->findChild<QPushButton *>(QStringLiteral("bCAN"))->isVisibleTo(wait));

        m_control.PNP();
        QCOMPARE(wait->findChild<QLabel *>(QStringLiteral("LBPag"))->text(), QStringLiteral("Página 2"));
        QCOMPARE(state().PageIndex, (std::vector<int32_t>{1, 10}));
    }

    void outputMode_data()
    {
        QTest::addColumn<QVariant>("prtScreen");
        QTest::addColumn<bool>("preview");
        QTest::newRow("p lower case") << QVariant(QStringLiteral("p")) << false;
        QTest::newRow("PRT") << QVariant(QStringLiteral("PRT")) << false;
        QTest::newRow("S") << QVariant(QStringLiteral("S")) << true;
        QTest::newRow("empty text") << QVariant(QString()) << true;
        QTest::newRow("X") << QVariant(QStringLiteral("X")) << true;
        QTest::newRow("missing") << QVariant() << true;
    }

    void outputMode()
    {
        QFETCH(QVariant, prtScreen);
        QFETCH(bool, preview);
        QCOMPARE(m_control.Init(nullptr, QString(), prtScreen), quint8(0));
        QCOMPARE(state().Preview, preview);
        QCOMPARE(state().SpoolNum != 0, preview);
        QCOMPARE(state().SpoolPath.empty(), !preview);
    }

    void orientationAndPaper_data()
    {
        QTest::addColumn<QVariant>("orientation");
        QTest::addColumn<QVariant>("paper");
        QTest::addColumn<int>("customWidth");
        QTest::addColumn<int>("customHeight");
        QTest::addColumn<int>("result");
        QTest::addColumn<float>("pageWidth");
        QTest::addColumn<float>("pageHeight");
        const QVariant a4(QStringLiteral("A4"));
        QTest::newRow("land lower case") << QVariant(QStringLiteral("land")) << a4 << 0 << 0 << 0 << 297.f << 210.f;
        QTest::newRow("L") << QVariant(QStringLiteral("L")) << a4 << 0 << 0 << 0 << 297.f << 210.f;
        QTest::newRow("Landscape") << QVariant(QStringLiteral("Landscape")) << a4 << 0 << 0 << 0 << 297.f << 210.f;
        QTest::newRow("number 2") << QVariant(2) << a4 << 0 << 0 << 0 << 297.f << 210.f;
        QTest::newRow("X is no orientation") << QVariant(QStringLiteral("X")) << a4 << 0 << 0 << 1 << 0.f << 0.f;
        QTest::newRow("orientation 7") << QVariant(7) << a4 << 0 << 0 << 1 << 0.f << 0.f;
        const QVariant portrait(QStringLiteral("P"));
        QTest::newRow("letter lower case") << portrait << QVariant(QStringLiteral("letter")) << 0 << 0 << 0 << 216.f
                                           << 279.f;
        QTest::newRow("code 9 is A4") << portrait << QVariant(9) << 0 << 0 << 0 << 210.f << 297.f;
        QTest::newRow("code 8 is A3") << portrait << QVariant(QStringLiteral("A3")) << 0 << 0 << 0 << 297.f << 420.f;
        QTest::newRow("numeric text") << portrait << QVariant(QStringLiteral("9")) << 0 << 0 << 0 << 210.f << 297.f;
        QTest::newRow("unknown name") << portrait << QVariant(QStringLiteral("B99")) << 0 << 0 << 2 << 0.f << 0.f;
        QTest::newRow("unknown code") << portrait << QVariant(31000) << 0 << 0 << 2 << 0.f << 0.f;
        QTest::newRow("custom 100 x 150") << portrait << QVariant(256) << 100 << 150 << 0 << 100.f << 150.f;
        QTest::newRow("custom landscape keeps size") << QVariant(QStringLiteral("L")) << QVariant(256) << 100 << 150
                                                     << 0 << 100.f << 150.f;
        QTest::newRow("custom 0 x 0") << portrait << QVariant(256) << 0 << 0 << 30 << 0.f << 0.f;
        QTest::newRow("custom 32767 mm") << portrait << QVariant(256) << 32767 << 32767 << 30 << 0.f << 0.f;
        QTest::newRow("custom negative") << portrait << QVariant(256) << -5 << 100 << 30 << 0.f << 0.f;
    }

    void orientationAndPaper()
    {
        QFETCH(QVariant, orientation);
        QFETCH(QVariant, paper);
        QFETCH(int, customWidth);
        QFETCH(int, customHeight);
        QFETCH(int, result);
        QFETCH(float, pageWidth);
        QFETCH(float, pageHeight);
        const quint8 code = m_control.Init(&m_host, QString(), QStringLiteral("S"), orientation, paper, true, true,
                                           true, true, true, true, false, false, customWidth, customHeight);
        QCOMPARE(int(code), result);
        if (result != 0) {
            // No listing: no spool file, no dialog, the host's window stays usable.
            QCOMPARE(state().SpoolNum, 0);
            QVERIFY(m_host.isEnabled());
            QVERIFY(!topLevel(QStringLiteral("wWAIT")));
            return;
        }
        QCOMPARE(m_control.PW(), pageWidth);
        QCOMPARE(m_control.PH(), pageHeight);
    }

    void missingArgumentsKeepThePrintersSettings()
    {
        QCOMPARE(m_control.Init(nullptr, QString(), QStringLiteral("S"), QStringLiteral("L"), QStringLiteral("A3")),
                 quint8(0));
        QCOMPARE(m_control.Init(nullptr, QString(), QStringLiteral("S"), QVariant(), QVariant()), quint8(0));
        QCOMPARE(state().PrtOri, 2);
        QCOMPARE(state().PrtPaper, 8);
        QCOMPARE(m_control.PW(), 420.0f);
        QCOMPARE(m_control.Init(nullptr, QString(), QStringLiteral("S"), QStringLiteral("P"), -1), quint8(0));
        QCOMPARE(m_control.PH(), 420.0f);
    }

    void secondInitReplacesTheFirstListing()
    {
        QCOMPARE(m_control.Init(&m_host), quint8(0));
        m_control.PNP();
        const QString first = QString::fromStdString(state().SpoolPath);
        QCOMPARE(m_control.Init(&m_host), quint8(0));
        QVERIFY(!QFile::exists(first));
        QVERIFY(QFile::exists(QString::fromStdString(state().SpoolPath)));
        QCOMPARE(state().CurPage, 1);
        QCOMPARE(state().PageIndex, std::vector<int32_t>{1});
    }

    void showOpensThePreviewAndClosingDeletesTheSpool()
    {
        QCOMPARE(m_control.Init(&m_host, QStringLiteral("Sete")), quint8(0));
        for (int i = 0; i < 6; ++i)
            m_control.PNP();
        const QString spool = QString::fromStdString(state().SpoolPath);
        int allowedMax = 0, chosenFrom = 0, chosenTo = 0;
        closePreviewWhenShown([&] {
            QObject *cmd = topLevel(QStringLiteral("ScrLst"))->findChild<QObject *>(QStringLiteral("CMD"));
            QVERIFY(cmd);
            allowedMax = cmd->property("maxPage").toInt();
            chosenFrom = cmd->property("fromPage").toInt();
            chosenTo = cmd->property("toPage").toInt();
            QVERIFY(!topLevel(QStringLiteral("wWAIT")));
            QCOMPARE(state().NumPages, 7);
            QCOMPARE(state().CurPage, 1);
            QVERIFY(QFile::exists(spool));
        });
        m_control.Show();
        QCOMPARE(allowedMax, 7);
        QCOMPARE(chosenFrom, 1);
        QCOMPARE(chosenTo, 7);
        QVERIFY(!QFile::exists(spool));
        QCOMPARE(state().SpoolNum, 0);
        QVERIFY(m_host.isEnabled());

        // The listing has ended: a second Show returns at once.
        m_control.Show();
        QVERIFY(!topLevel(QStringLiteral("ScrLst")));
    }

    void waitReportsCancel_data()
    {
        QTest::addColumn<bool>("canShow");
        QTest::newRow("cancel aborts") << false;
        QTest::newRow("cancel shows what was composed") << true;
    }

    void waitReportsCancel()
    {
        QFETCH(bool, canShow);
        QCOMPARE(m_control.Init(&m_host, QString(), QStringLiteral("S"), QStringLiteral("P"), QStringLiteral("A4"),
                                true, true, true, true, true, true, canShow),
                 quint8(0));
        QVERIFY(m_control.Wait());
        const QString spool = QString::fromStdString(state().SpoolPath);
        topLevel(QStringLiteral("wWAIT"))->findChild<QPushButton *>(QStringLiteral("bCAN"))->click();
        bool previewShown = false;
        if (canShow)
            closePreviewWhenShown([&] { previewShown = true; });
        QVERIFY(!m_control.Wait());
        QCOMPARE(previewShown, canShow);
        QVERIFY(!QFile::exists(spool));
        QVERIFY(m_host.isEnabled());
    }

    void abortPrtLeavesTheHostDisabled()
    {
        QCOMPARE(m_control.Init(&m_host), quint8(0));
        const QString spool = QString::fromStdString(state().SpoolPath);
        m_control.setAbortPRT(true);
        QVERIFY(m_control.AbortPRT());
        QVERIFY(!QFile::exists(spool));
        QVERIFY(!m_host.isEnabled());
        QVERIFY(!m_control.Wait()); // the host is told to stop
    }

    void callsInTheWrongStateAreHarmless()
    {
        // Nothing open: ending, waiting and composing do nothing harmful.
        m_control.Abort();
        m_control.Show();
        QVERIFY(m_control.Wait());
        m_control.PNL();
        m_control.PMargins(qQNaN(), qInf(), -qInf(), 1e30f);
        QCOMPARE(m_control.Init(&m_host), quint8(0));
        const float usable = m_control.mx();
        m_control.PMargins(qQNaN(), 10, 10, 10);
        m_control.PNL(qInf());
        QCOMPARE(m_control.mx(), usable);
        QVERIFY(qIsFinite(m_control.CurY()));
        m_control.PMargins(1e30f, 1e30f, 1e30f, 1e30f);
        QVERIFY(qIsFinite(m_control.mx()) && qIsFinite(m_control.CurY()));
    }

    void directListingPrintsItsPages()
    {
        if (!quillet::testing::hasCupsPdfQueue())
            QSKIP("no CUPS queue named PDF as the default printer");
        const QString name = quillet::testing::uniqueDocumentName(QStringLiteral("direct3-"));
        QCOMPARE(m_control.Init(&m_host, name, QStringLiteral("P")), quint8(0));
        QVERIFY(!state().Preview);
        QCOMPARE(state().SpoolNum, 0);
        m_control.PNP();
        m_control.PNP();
        m_control.Show();
        QVERIFY(m_host.isEnabled());
        const QString pdf = quillet::testing::waitForCupsPdf(name);
        QVERIFY2(!pdf.isEmpty(), qPrintable(m_control.lastOutput()));
        QCOMPARE(quillet::testing::pdfPageCount(pdf), 3);
        QFile::remove(pdf);
    }

    void abortedDirectListingPrintsNothing()
    {
        if (!quillet::testing::hasCupsPdfQueue())
            QSKIP("no CUPS queue named PDF as the default printer");
        const QString name = quillet::testing::uniqueDocumentName(QStringLiteral("aborted-"));
        QCOMPARE(m_control.Init(&m_host, name, QStringLiteral("P")), quint8(0));
        m_control.PNP();
        m_control.Abort();
        QVERIFY(quillet::testing::waitForCupsPdf(name, 2000).isEmpty());
    }

private:
    QWidget m_host;
    Quillet m_control{&m_host};
};

QTEST_MAIN(LifecycleTest)
#include "lifecycle_test.moc"
