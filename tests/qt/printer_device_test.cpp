// The printer on Qt and CUPS: paper and orientation as the real queue takes
// them, jobs printed through CUPS and read back from the PDF it writes, and
// discarded jobs that never reach it.

#include "CupsOutput.h"
#include "platform/QtPrinterDevice.h"
#include "render/Surface.h"

#include <QTemporaryDir>
#include <QTest>

using namespace quillet;
using namespace quillet::testing;

namespace {

constexpr int A4Code = 9, A3Code = 8, CustomCode = 256;
const char *const NoCupsVariable = "QUILLET_TEST_WITHOUT_CUPS";

int mmToTwips(double mm)
{
    return qRound(mm * 1440 / 25.4);
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList leftoverJobFiles()
{
    return QDir(QDir::tempPath()).entryList({QStringLiteral("quillet-*.pdf")}, QDir::Files);
}

/// Pages saying "Page n of N <name>" at 20 mm from the printable corner, each with a box.
void printPages(QtPrinterDevice &device, const QString &documentName, int pages)
{
    device.setDocumentName(documentName);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            device.newPage();
        Surface &surface = device.surface();
        surface.setFont(SurfaceFont()); // Times New Roman 12
        surface.setCurrentX(20);
        surface.setCurrentY(30);
        surface.print(
            QStringLiteral("Page %1 of %2 %3").arg(page).arg(pages).arg(documentName).toStdString());
        surface.line(LineKind::Box, 20, 40, 60, 60);
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

    void paperMeasures_data()
    {
        QTest::addColumn<int>("paper");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<double>("widthMm");
        QTest::addColumn<double>("heightMm");
        QTest::newRow("A4 portrait") << A4Code << 1 << 210.0 << 297.0;
        QTest::newRow("A3 landscape swaps") << A3Code << 2 << 420.0 << 297.0;
    }

    void paperMeasures()
    {
        REQUIRE_CUPS_PDF();
        QFETCH(int, paper);
        QFETCH(int, orientation);
        QFETCH(double, widthMm);
        QFETCH(double, heightMm);
        QtPrinterDevice device;
        QVERIFY(!device.isPdfFallback());
        QVERIFY(device.setPaperSize(paper) && device.setOrientation(orientation));
        QCOMPARE(device.paperSize(), paper);
        const PrinterPage page = device.page();
        QCOMPARE(page.paperWidthTwips, mmToTwips(widthMm));
        QCOMPARE(page.paperHeightTwips, mmToTwips(heightMm));
        // cups-pdf prints to the edge; Qt's own default margins would be 10 pt.
        QCOMPARE(page.printableWidthTwips, page.paperWidthTwips);
        QCOMPARE(page.printableHeightTwips, page.paperHeightTwips);

        QVERIFY(!device.setOrientation(3));
        QVERIFY(!device.setPaperSize(9999));       // a code with no size
        QVERIFY(!device.setPaperSize(CustomCode)); // custom without a custom paper
        QCOMPARE(device.orientation(), orientation);
        QCOMPARE(device.page().paperWidthTwips, mmToTwips(widthMm));
    }

    void customPaper_data()
    {
        QTest::addColumn<int>("widthMm");
        QTest::addColumn<int>("heightMm");
        QTest::addColumn<int>("result");
        // The limits of tenths of a millimetre are checked with a fake printer in the core tests.
        QTest::newRow("13 mm, just over the queue's 12.7 mm") << 13 << 13 << int(CustomPaperApplied);
        QTest::newRow("10 mm, under the queue's minimum") << 10 << 100 << int(PaperSizeRefused);
        QTest::newRow("3277 does not fit in tenths") << 3277 << 100 << int(PaperSizeRefused);
    }

    void customPaper()
    {
        REQUIRE_CUPS_PDF();
        QFETCH(int, widthMm);
        QFETCH(int, heightMm);
        QFETCH(int, result);
        QtPrinterDevice device;
        QVERIFY(device.setPaperSize(A4Code) && device.setOrientation(1));
        QCOMPARE(int(device.setCustomPaper(widthMm, heightMm)), result);
        const bool applied = result == CustomPaperApplied;
        QCOMPARE(device.paperSize(), applied ? CustomCode : A4Code);
        QCOMPARE(device.page().paperWidthTwips, mmToTwips(applied ? widthMm : 210));
        QCOMPARE(device.page().paperHeightTwips, mmToTwips(applied ? heightMm : 297));
    }

    void jobPrintsThroughCups_data()
    {
        QTest::addColumn<int>("paper");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QSizeF>("sheetPoints");
        QTest::newRow("A4, 3 pages") << A4Code << 1 << 3 << QSizeF(595.276, 841.89);
        QTest::newRow("custom 100 x 150 mm") << CustomCode << 1 << 1 << QSizeF(283.465, 425.197);
        // The sheet stays portrait in the tray; the page is turned onto it, not shrunk.
        QTest::newRow("A4 landscape") << A4Code << 2 << 1 << QSizeF(595.276, 841.89);
    }

    void jobPrintsThroughCups()
    {
        REQUIRE_CUPS_PDF();
        QFETCH(int, paper);
        QFETCH(int, orientation);
        QFETCH(int, pages);
        QFETCH(QSizeF, sheetPoints);
        QtPrinterDevice device;
        QVERIFY(paper == CustomCode ? device.setCustomPaper(100, 150) == CustomPaperApplied
                                    : device.setPaperSize(paper));
        QVERIFY(device.setOrientation(orientation));
        const QString name = uniqueDocumentName(QStringLiteral("QuilletJob"));
        printPages(device, name, pages);
        const double pageWordPoints = device.surface().textWidth("Page") * 72 / 25.4;
        device.endDoc();
        QVERIFY2(device.lastOutput().startsWith(QStringLiteral("PDF, job ")),
                 qPrintable(device.lastOutput()));
        QVERIFY(leftoverJobFiles().isEmpty());

        const QString pdf = waitForCupsPdf(name);
        QVERIFY2(!pdf.isEmpty(), "cups-pdf wrote no file in time");
        QCOMPARE(pdfPageCount(pdf), pages);
        const QSizeF size = pdfPageSizePoints(pdf);
        QCOMPARE_LT(std::abs(size.width() - sheetPoints.width()) + std::abs(size.height() - sheetPoints.height()),
                    1.0);
        const QStringList text = pdfLayoutPages(pdf);
        for (int page = 1; page <= pages; ++page)
            QVERIFY2(text.value(page - 1).contains(
                         QStringLiteral("Page %1 of %2 %3").arg(page).arg(pages).arg(name)),
                     qPrintable(text.join(u'\f')));

        // Full size on paper: the word is as long as measured, along or across the sheet.
        const auto word =
            QRegularExpression(QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
                                              "xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">Page</word>"))
                .match(run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
        QVERIFY(word.hasMatch());
        const QRectF box(QPointF(word.captured(1).toDouble(), word.captured(2).toDouble()),
                         QPointF(word.captured(3).toDouble(), word.captured(4).toDouble()));
        QCOMPARE_LT(std::abs(std::max(box.width(), box.height()) - pageWordPoints), 1.0);
        if (orientation == 1) // 20 mm from the sheet's edge: the printable corner is the origin
            QCOMPARE_LT(std::abs(box.left() - 20 * 72 / 25.4), 1.0);
        QFile::remove(pdf);
    }

    void discardedAndEmptyJobsNeverPrint()
    {
        REQUIRE_CUPS_PDF();
        const QString killed = uniqueDocumentName(QStringLiteral("QuilletKilled"));
        const QString destroyed = uniqueDocumentName(QStringLiteral("QuilletDestroyed"));
        {
            QtPrinterDevice device;
            printPages(device, killed, 2);
            device.killDoc();
            QVERIFY(device.lastOutput().isEmpty());
            printPages(device, destroyed, 1); // still open when the device goes
        }
        QtPrinterDevice device;
        device.setDocumentName(uniqueDocumentName(QStringLiteral("QuilletEmpty")));
        device.surface().setFont(SurfaceFont());
        QVERIFY(device.surface().textWidth("measuring starts no job") > 0);
        device.endDoc();
        QVERIFY(device.lastOutput().isEmpty());
        QVERIFY(leftoverJobFiles().isEmpty());

        // A later job on the same queue comes out after anything sent before it.
        const QString follower = uniqueDocumentName(QStringLiteral("QuilletFollower"));
        printPages(device, follower, 1);
        device.endDoc();
        const QString pdf = waitForCupsPdf(follower);
        QVERIFY(!pdf.isEmpty());
        const QDir folder(QDir::home().filePath(QStringLiteral("PDF")));
        QVERIFY(folder.entryList({killed + u'*', destroyed + u'*'}, QDir::Files).isEmpty());
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
        QVERIFY(device.setPaperSize(A4Code));
        QCOMPARE(device.page().printableWidthTwips, mmToTwips(210)); // a PDF has no border
        QCOMPARE(device.setCustomPaper(5000, 100), PaperSizeRefused);
        QCOMPARE(device.setCustomPaper(100, 150), CustomPaperApplied);
        printPages(device, uniqueDocumentName(QStringLiteral("QuilletFallback")), 2);
        device.endDoc();
        const QString pdf = device.lastOutput();
        QVERIFY2(QFileInfo(pdf).isFile(), qPrintable(pdf));
        QCOMPARE(QFileInfo(pdf).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
        QCOMPARE(pdfPageCount(pdf), 2);
        QFile::remove(pdf);
    }

private:
    QTemporaryDir m_tempDir;
};

QTEST_MAIN(PrinterDeviceTest)
#include "printer_device_test.moc"
