// The printer on Qt and CUPS: paper as the real queue takes it, jobs printed
// through CUPS and read back, killed jobs that never reach it, and the PDF
// fallback when there is no scheduler.

#include "CupsOutput.h"
#include "platform/QtPrinterDevice.h"
#include "render/Surface.h"

#include <QTemporaryDir>
#include <QTest>

using namespace quillet;
using namespace quillet::testing;

namespace {

constexpr int A4Code = 9;
const char *const NoCupsVariable = "QUILLET_TEST_WITHOUT_CUPS";

int mmToTwips(double mm)
{
    return qRound(mm * 1440 / 25.4);
}

/// Pages saying "Page n of N <name>".
void printPages(QtPrinterDevice &device, const QString &documentName, int pages)
{
    device.setDocumentName(documentName);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            device.newPage();
        device.surface().setFont(SurfaceFont());
        device.surface().setCurrentX(20);
        device.surface().setCurrentY(30);
        device.surface().print(
            QStringLiteral("Page %1 of %2 %3").arg(page).arg(pages).arg(documentName).toStdString());
    }
}

} // namespace

#define REQUIRE_CUPS_PDF()                                                                                   \
    if (!hasCupsPdfQueue())                                                                                  \
    QSKIP("no cups-pdf queue named PDF as the default printer")

class PrinterDeviceTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // A private temporary folder, so that job files left behind are ours to see.
        QVERIFY(m_tempDir.isValid());
        if (qEnvironmentVariableIsEmpty(NoCupsVariable))
            qputenv("TMPDIR", QFile::encodeName(m_tempDir.path()));
    }

    void paperAsTheQueueTakesIt()
    {
        REQUIRE_CUPS_PDF();
        QtPrinterDevice device;
        QVERIFY(!device.isPdfFallback());
        QVERIFY(device.setPaperSize(A4Code) && device.setOrientation(1));
        // cups-pdf's border is zero; Qt's own default margins would be 10 pt.
        const PrinterPage page = device.page();
        QCOMPARE(QList<int>({page.paperWidthTwips, page.paperHeightTwips, page.printableWidthTwips,
                             page.printableHeightTwips}),
                 QList<int>({mmToTwips(210), mmToTwips(297), mmToTwips(210), mmToTwips(297)}));
        QVERIFY(!device.setPaperSize(9999));                          // a code with no size
        QCOMPARE(device.setCustomPaper(3277, 100), PaperSizeRefused); // does not fit in tenths
        QCOMPARE(device.paperSize(), A4Code);
        QCOMPARE(device.setCustomPaper(100, 150), CustomPaperApplied);
        QCOMPARE(device.page().paperHeightTwips, mmToTwips(150));
    }

    void killedJobNeverPrintsAndAThreePageJobDoes()
    {
        REQUIRE_CUPS_PDF();
        QtPrinterDevice device;
        const QString killed = uniqueDocumentName(QStringLiteral("QuilletKilled"));
        printPages(device, killed, 2);
        device.killDoc();
        QVERIFY(device.lastOutput().isEmpty());

        const QString name = uniqueDocumentName(QStringLiteral("QuilletJob"));
        printPages(device, name, 3);
        device.endDoc();
        QVERIFY2(device.lastOutput().startsWith(QStringLiteral("PDF, job ")),
                 qPrintable(device.lastOutput()));
        QVERIFY(QDir(QDir::tempPath()).entryList({QStringLiteral("quillet-*.pdf")}, QDir::Files).isEmpty());
        const QString pdf = waitForCupsPdf(name);
        QVERIFY2(!pdf.isEmpty(), "cups-pdf wrote no file in time");
        QCOMPARE(pdfPageCount(pdf), 3);
        // The queue prints in order, so the killed job would be there by now.
        QVERIFY(QFileInfo(pdf).dir().entryList({killed + u'*'}, QDir::Files).isEmpty());
        QFile::remove(pdf);
    }

    void withoutCupsJobsAreKeptAsPdf()
    {
        // Run in a process of its own whose CUPS client finds no scheduler.
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("CUPS_SERVER"),
                           m_tempDir.filePath(QStringLiteral("no-cupsd.sock")));
        environment.insert(QString::fromLatin1(NoCupsVariable), QStringLiteral("1"));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("withoutCupsChild")});
        QVERIFY(child.waitForFinished(60000));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 child.readAll().constData());
    }

    void withoutCupsChild()
    {
        if (qEnvironmentVariableIsEmpty(NoCupsVariable))
            QSKIP("runs inside withoutCupsJobsAreKeptAsPdf");
        QtPrinterDevice device;
        QVERIFY(device.isPdfFallback());
        printPages(device, uniqueDocumentName(QStringLiteral("QuilletFallback")), 2);
        device.endDoc();
        const QString pdf = device.lastOutput();
        QVERIFY2(QFileInfo(pdf).isFile(), qPrintable(pdf));
        QCOMPARE(pdfPageCount(pdf), 2);
        QFile::remove(pdf);
    }

private:
    QTemporaryDir m_tempDir;
};

QTEST_MAIN(PrinterDeviceTest)
#include "printer_device_test.moc"
