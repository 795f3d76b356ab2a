// Opening and ending listings through the widget, on the real printer set-up.

#include "CupsOutput.h"
#include "quillet/ListingState.h"
#include "quillet/Quillet.h"
#include "spool/SpoolRecord.h"

#include <QApplication>
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
void closePreviewWhenShown(std::function<void(QWidget &preview)> check)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, check] {
        if (QWidget *preview = topLevel(QStringLiteral("ScrLst"))) {
            poll->stop();
            poll->deleteLater();
            check(*preview);
            preview->close();
        }
    });
    poll->start(10);
}

QString spoolPath()
{
    return QString::fromStdString(state().SpoolPath);
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

    void defaultsOpenAPreviewOnA4PortraitWithAPrivateSpool()
    {
        QCOMPARE(m_control.Init(&m_host, QStringLiteral("  Vendas  ")), quint8(0));
        QVERIFY(state().Preview && state().Spooling && !m_host.isEnabled());
        QCOMPARE(state().ListName, std::string("Vendas"));
        QCOMPARE(m_control.PW(), 210.0f);
        QCOMPARE(m_control.PH(), 297.0f);
        QVERIFY(QFileInfo(spoolPath()).fileName().startsWith(QStringLiteral("Prt")));
        struct stat info {};
        QCOMPARE(::stat(spoolPath().toLocal8Bit().constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0600u);
        // Eight default commands, the font name in one chunk.
        QCOMPARE(QFileInfo(spoolPath()).size(), 9 * quillet::SlotSize);

        QWidget *wait = topLevel(QStringLiteral("wWAIT"));
        QVERIFY(wait);
        QCOMPARE(wait->windowTitle(), QStringLiteral("Compondo a Listagem..."));
        QCOMPARE(wait->findChild<QLabel *>(QStringLiteral("LBName"))->text(), QStringLiteral("Vendas"));
        m_control.PNP();
        QCOMPARE(wait->findChild<QLabel *>(QStringLiteral("LBPag"))->text(), QStringLiteral("Página 2"));
        QCOMPARE(state().PageIndex, (std::vector<int32_t>{1, 10}));

        const QString first = spoolPath(); // a second Init replaces the listing
        QCOMPARE(m_control.Init(&m_host), quint8(0));
        QVERIFY(!QFile::exists(first) && QFile::exists(spoolPath()));
        QCOMPARE(state().PageIndex, std::vector<int32_t>{1});
    }

    void initArguments_data()
    {
        QTest::addColumn<QVariant>("orientation");
        QTest::addColumn<QVariant>("paper");
        QTest::addColumn<int>("result");
        QTest::addColumn<QSizeF>("page"); // empty: refused
        const QVariant p(QStringLiteral("P")), a4(QStringLiteral("A4"));
        QTest::newRow("land lower case") << QVariant(QStringLiteral("land")) << a4 << 0 << QSizeF(297, 210);
        QTest::newRow("X is no orientation") << QVariant(QStringLiteral("X")) << a4 << 1 << QSizeF();
        QTest::newRow("unknown paper name") << p << QVariant(QStringLiteral("B99")) << 2 << QSizeF();
        QTest::newRow("custom 0 x 0") << p << QVariant(256) << 30 << QSizeF();
    }

    void initArguments()
    {
        QFETCH(QVariant, orientation);
        QFETCH(QVariant, paper);
        QFETCH(int, result);
        QFETCH(QSizeF, page);
        QCOMPARE(int(m_control.Init(&m_host, QString(), QStringLiteral("S"), orientation, paper)), result);
        QCOMPARE(state().SpoolNum != 0, !page.isEmpty());
        if (result != 0) // no listing: no spool file, no dialog, the host's window stays usable
            QVERIFY(m_host.isEnabled() && !topLevel(QStringLiteral("wWAIT")));
        else
            QCOMPARE(QSizeF(m_control.PW(), m_control.PH()), page);
    }

    void missingArgumentsKeepThePrintersSettings()
    {
        QCOMPARE(m_control.Init(nullptr, QString(), QStringLiteral("S"), QStringLiteral("L"),
                                QStringLiteral("A3")),
                 quint8(0));
        QCOMPARE(m_control.Init(nullptr, QString(), QStringLiteral("S"), QVariant(), QVariant()), quint8(0));
        QCOMPARE(QSizeF(m_control.PW(), m_control.PH()), QSizeF(420, 297));
        QCOMPARE(m_control.Init(nullptr, QString(), QStringLiteral("S"), QStringLiteral("P"), -1), quint8(0));
        QCOMPARE(m_control.PH(), 420.0f);
    }

    void showOpensThePreviewAndClosingItEndsTheListing()
    {
        QCOMPARE(m_control.Init(&m_host, QStringLiteral("Sete")), quint8(0));
        for (int i = 0; i < 6; ++i)
            m_control.PNP();
        const QString spool = spoolPath();
        QStringList seen;
        closePreviewWhenShown([&](QWidget &preview) {
            QObject *cmd = preview.findChild<QObject *>(QStringLiteral("CMD"));
            seen << QStringLiteral("%1 %2-%3 of %4 on %5")
                        .arg(bool(topLevel(QStringLiteral("wWAIT"))))
                        .arg(cmd->property("fromPage").toInt())
                        .arg(cmd->property("toPage").toInt())
                        .arg(state().NumPages)
                        .arg(state().CurPage);
        });
        m_control.Show();
        QCOMPARE(seen, QStringList{QStringLiteral("0 1-7 of 7 on 1")});
        QVERIFY(!QFile::exists(spool) && m_host.isEnabled());
        m_control.Show(); // the listing has ended: a second Show returns at once
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
        QCOMPARE(m_control.Init(&m_host, QString(), QStringLiteral("S"), QStringLiteral("P"),
                                QStringLiteral("A4"), true, true, true, true, true, true, canShow),
                 quint8(0));
        QVERIFY(m_control.Wait());
        const QString spool = spoolPath();
        topLevel(QStringLiteral("wWAIT"))->findChild<QPushButton *>(QStringLiteral("bCAN"))->click();
        bool previewShown = false;
        if (canShow)
            closePreviewWhenShown([&](QWidget &) { previewShown = true; });
        QVERIFY(!m_control.Wait());
        QCOMPARE(previewShown, canShow);
        QVERIFY(!QFile::exists(spool) && m_host.isEnabled());

        QCOMPARE(m_control.Init(&m_host), quint8(0)); // AbortPRT ends it too, leaving the host disabled
        m_control.setAbortPRT(true);
        QVERIFY(m_control.AbortPRT() && !m_control.Wait());
        QVERIFY(state().SpoolNum == 0 && !m_host.isEnabled());
    }

    void callsInTheWrongStateOrWithBadNumbersAreHarmless()
    {
        m_control.Abort();
        m_control.Show();
        QVERIFY(m_control.Wait());
        m_control.PNL();
        m_control.PMargins(qQNaN(), qInf(), -qInf(), 1e30f);
        QCOMPARE(m_control.Init(&m_host), quint8(0));
        m_control.PMargins(1e30f, 1e30f, 1e30f, 1e30f);
        QVERIFY(qIsFinite(m_control.mx()) && qIsFinite(m_control.CurY()));
    }

    void directListingPrintsItsPagesAndAnAbortedOneNothing()
    {
        if (!quillet::testing::hasCupsPdfQueue())
            QSKIP("no CUPS queue named PDF as the default printer");
        const QString printed = quillet::testing::uniqueDocumentName(QStringLiteral("direct3-"));
        const QString aborted = quillet::testing::uniqueDocumentName(QStringLiteral("aborted-"));
        QCOMPARE(m_control.Init(&m_host, aborted, QStringLiteral("P")), quint8(0));
        m_control.PNP();
        m_control.Abort();
        QCOMPARE(m_control.Init(&m_host, printed, QStringLiteral("P")), quint8(0));
        m_control.PNP();
        m_control.PNP();
        m_control.Show();
        QVERIFY(m_host.isEnabled());
        const QString pdf = quillet::testing::waitForCupsPdf(printed);
        QVERIFY2(!pdf.isEmpty(), qPrintable(m_control.lastOutput()));
        QCOMPARE(quillet::testing::pdfPageCount(pdf), 3);
        QVERIFY(
            quillet::testing::waitForCupsPdf(aborted, 100).isEmpty()); // the queue is empty: it never came
        QFile::remove(pdf);
    }

private:
    QWidget m_host;
    Quillet m_control{&m_host};
};

QTEST_MAIN(LifecycleTest)
#include "lifecycle_test.moc"
