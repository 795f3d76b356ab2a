// Long runs: many listings in a row keep memory and file descriptors flat, and
// a listing of 32 767 pages composes, saves its last pages and shows the last.
// QUILLET_ENDURANCE_CYCLES sets the number of listings (1 000 by default).

#include "CupsOutput.h"
#include "PreviewDriver.h"
#include "compose/Session.h"
#include "control/Runtime.h"

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>

#include <limits>

using quillet::Quillet;
using namespace preview_driver;
using namespace quillet::testing;

namespace {

qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

qsizetype openFds()
{
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::System).size();
}

void oneListing(Quillet &control)
{
    openListing(control);
    composePages(control, 10, [](Quillet &q, int page) {
        q.C(QStringLiteral("Ciclo de resistência"), 20);
        q.PBox(30, 0, 60, 100, 2);
        q.M(QStringLiteral("Texto %1 ").arg(page).repeated(30), -1, 0, 120);
    });
    showAndCheck(control, [](PreviewWindow &) {});
    control.Abort();
}

constexpr int MaxPages = std::numeric_limits<int16_t>::max();

} // namespace

class EnduranceTest : public QObject {
    Q_OBJECT

private slots:
    void manyListingsKeepMemoryAndFilesFlat()
    {
        const int cycles = qEnvironmentVariableIntValue("QUILLET_ENDURANCE_CYCLES") > 0
                               ? qEnvironmentVariableIntValue("QUILLET_ENDURANCE_CYCLES")
                               : 1000;
        // Caches (fonts, glyphs, the printer's details) fill during the first listings.
        for (int i = 0; i < 20; ++i)
            oneListing(m_control);
        const qint64 rssBefore = residentKiB();
        const qsizetype fdsBefore = openFds();
        for (int i = 0; i < cycles; ++i)
            oneListing(m_control);
        const qint64 rssAfter = residentKiB();
        const qsizetype fdsAfter = openFds();
        qInfo("%d listings: VmRSS %lld -> %lld KiB, open fds %lld -> %lld", cycles, rssBefore, rssAfter,
              qlonglong(fdsBefore), qlonglong(fdsAfter));
        QCOMPARE(fdsAfter, fdsBefore);
        // A page image (3.5 MB), a window or its toolbar pictures (15 KiB) kept per
        // listing would show here; 1 MiB is left to the allocator.
        QVERIFY2(rssAfter - rssBefore < 1024 + 2 * qint64(cycles),
                 qPrintable(QString::number(rssAfter - rssBefore)));
    }

    void thirtyTwoThousandPagesComposeSaveAndShow()
    {
        composeSheets(m_control, QStringLiteral("Longa"), MaxPages, false);
        // Pages beyond the last number stay on it, and nothing is lost there.
        m_control.PNP();
        m_control.L(QStringLiteral("além do limite"), 40, 20);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("last.pdf"));
        QVERIFY(m_control.SavePDF(path, MaxPages - 2, MaxPages));
        QString lastPageLabel;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            child<QPushButton>(window, "LstPag")->click();
            lastPageLabel = child<QLabel>(window, "LPag")->text();
        });
        QCOMPARE(lastPageLabel, QStringLiteral("Página 32767 de 32767"));
        const QStringList pages = pdfLayoutPages(path);
        QCOMPARE(pages.size(), 3);
        QVERIFY2(pages[2].contains(QStringLiteral("Folha 32767 de 32767")), qPrintable(pages[2]));
        QVERIFY2(pages[2].contains(QStringLiteral("além do limite")), qPrintable(pages[2]));
    }

private:
    Quillet m_control;
};

QTEST_MAIN(EnduranceTest)
#include "endurance_test.moc"
