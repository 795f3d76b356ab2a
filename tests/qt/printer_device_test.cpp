// The printer on Qt and CUPS: paper and orientation as the real queue takes
// them, jobs printed through CUPS and read back from the PDF it writes, and
// discarded jobs that never reach it.

#include "platform/QtPrinterDevice.h"
#include "render/Surface.h"

#include <QDir>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <optional>

using namespace quillet;

namespace {

constexpr int A4Code = 9;
constexpr int LetterCode = 1;
constexpr int A3Code = 8;
constexpr int CustomCode = 256;
constexpr int PollLimitMs = 20000;
const char *const NoCupsVariable = "QUILLET_TEST_WITHOUT_CUPS";

int mmToTwips(double mm)
{
    return qRound(mm * 1440 / 25.4);
}

QString uniqueName(const char *prefix)
{
    return prefix + QUuid::createUuid().toString(QUuid::Id128).left(12);
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

/// cups-pdf's file for a document: it appears once the job has left the queue.
QString cupsPdfFile(const QString &documentName)
{
    const QDir folder(QDir::home().filePath(QStringLiteral("PDF")));
    const QStringList files = folder.entryList({documentName + QStringLiteral("*.pdf")}, QDir::Files);
    return files.isEmpty() ? QString() : folder.filePath(files.first());
}

QString waitForCupsPdf(const QString &documentName, const QString &queue, int jobId)
{
    QString file;
    const bool done = QTest::qWaitFor(
        [&] {
            file = cupsPdfFile(documentName);
            const QString pending = run(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue});
            return !file.isEmpty() && !pending.contains(QStringLiteral("%1-%2 ").arg(queue).arg(jobId));
        },
        PollLimitMs);
    return done ? file : QString();
}

std::optional<QSizeF> pdfPageSizePoints(const QString &pdf)
{
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts"))
            .match(run(QStringLiteral("pdfinfo"), {pdf}));
    if (!match.hasMatch())
        return std::nullopt;
    return QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble());
}

int pdfPageCount(const QString &pdf)
{
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(run(QStringLiteral("pdfinfo"), {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

bool isCupsPdfQueue(const QString &queue)
{
    return run(QStringLiteral("lpstat"), {QStringLiteral("-v"), queue}).contains(QStringLiteral("cups-pdf:"));
}

QStringList leftoverJobFiles()
{
    return QDir(QDir::tempPath()).entryList({QStringLiteral("quillet-*.pdf")}, QDir::Files);
}

void printPages(QtPrinterDevice &device, const QString &documentName, int pages)
{
    device.setDocumentName(documentName);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            device.newPage();
        Surface &surface = device.surface();
        SurfaceFont font;
        font.name = "Times New Roman";
        font.size = 12;
        surface.setFont(font);
        surface.setCurrentX(20);
        surface.setCurrentY(30);
        surface.print(
            QStringLiteral("Page %1 of %2 %3").arg(page).arg(pages).arg(documentName).toStdString());
        surface.line(LineKind::Box, 20, 40, 60, 60);
    }
}

} // namespace

#define REQUIRE_CUPS()                                                                                       \
    do {                                                                                                     \
        if (QPrinterInfo::defaultPrinter().isNull())                                                         \
            QSKIP("no CUPS queue");                                                                          \
    } while (false)

class PrinterDeviceTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void paperMeasures_data();
    void paperMeasures();
    void refusedSettingsChangeNothing_data();
    void refusedSettingsChangeNothing();
    void paperTheQueueDoesNotListIsRefused();
    void customPaper_data();
    void customPaper();
    void customPaperOnAVanishedQueue();
    void jobPrintsThroughCups_data();
    void jobPrintsThroughCups();
    void discardedJobsNeverPrint();
    void jobWithoutDrawingIsDropped();
    void withoutCupsJobsAreKeptAsPdf();
    void withoutCupsChild();

private:
    QTemporaryDir m_tempDir;
};

void PrinterDeviceTest::initTestCase()
{
    // A private temporary folder, so that job files left behind are ours to see.
    QVERIFY(m_tempDir.isValid());
    if (qEnvironmentVariableIsEmpty(NoCupsVariable))
        qputenv("TMPDIR", QFile::encodeName(m_tempDir.path()));
}

void PrinterDeviceTest::paperMeasures_data()
{
    QTest::addColumn<int>("paper");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<double>("widthMm");
    QTest::addColumn<double>("heightMm");
    QTest::newRow("A4 portrait") << A4Code << 1 << 210.0 << 297.0;
    QTest::newRow("A4 landscape swaps") << A4Code << 2 << 297.0 << 210.0;
    QTest::newRow("Letter portrait") << LetterCode << 1 << 215.9 << 279.4;
    QTest::newRow("A3 landscape") << A3Code << 2 << 420.0 << 297.0;
}

void PrinterDeviceTest::paperMeasures()
{
    REQUIRE_CUPS();
    QFETCH(int, paper);
    QFETCH(int, orientation);
    QFETCH(double, widthMm);
    QFETCH(double, heightMm);
    QtPrinterDevice device;
    QVERIFY(!device.isPdfFallback());
    QVERIFY(device.setPaperSize(paper));
    QVERIFY(device.setOrientation(orientation));
    QCOMPARE(device.paperSize(), paper);
    QCOMPARE(device.orientation(), orientation);
    const PrinterPage page = device.page();
    QCOMPARE(page.paperWidthTwips, mmToTwips(widthMm));
    QCOMPARE(page.paperHeightTwips, mmToTwips(heightMm));
    if (isCupsPdfQueue(QString::fromStdString(device.deviceName()))) {
        // cups-pdf prints to the edge; Qt's own default margins would be 10 pt.
        QCOMPARE(page.printableWidthTwips, page.paperWidthTwips);
        QCOMPARE(page.printableHeightTwips, page.paperHeightTwips);
    } else {
        QVERIFY(page.printableWidthTwips > 0 && page.printableWidthTwips <= page.paperWidthTwips);
        QVERIFY(page.printableHeightTwips > 0 && page.printableHeightTwips <= page.paperHeightTwips);
    }
}

void PrinterDeviceTest::refusedSettingsChangeNothing_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("paper");
    QTest::newRow("orientation 0") << 0 << A4Code;
    QTest::newRow("orientation 3") << 3 << A4Code;
    QTest::newRow("paper code 0") << 1 << 0;
    QTest::newRow("paper code with no size") << 1 << 9999;
    QTest::newRow("custom code without a custom paper") << 1 << CustomCode;
}

void PrinterDeviceTest::refusedSettingsChangeNothing()
{
    REQUIRE_CUPS();
    QFETCH(int, orientation);
    QFETCH(int, paper);
    QtPrinterDevice device;
    QVERIFY(device.setPaperSize(LetterCode));
    QVERIFY(device.setOrientation(2));
    const PrinterPage before = device.page();
    const bool orientationTaken = device.setOrientation(orientation);
    const bool paperTaken = device.setPaperSize(paper);
    QVERIFY(!orientationTaken || !paperTaken);
    QCOMPARE(device.orientation(), orientationTaken ? orientation : 2);
    QCOMPARE(device.paperSize(), paperTaken ? paper : LetterCode);
    if (!orientationTaken && !paperTaken)
        QCOMPARE(device.page().paperWidthTwips, before.paperWidthTwips);
}

void PrinterDeviceTest::paperTheQueueDoesNotListIsRefused()
{
    REQUIRE_CUPS();
    QtPrinterDevice device;
    const QList<QPageSize> listed = QPrinterInfo(device.printer()).supportedPageSizes();
    std::optional<int> unlisted;
    for (int code = 1; code <= 118 && !unlisted; ++code) {
        const QPageSize::PageSizeId id = QPageSize::id(code);
        if (id != QPageSize::Custom && std::none_of(listed.cbegin(), listed.cend(),
                                                    [id](const QPageSize &size) { return size.id() == id; }))
            unlisted = code;
    }
    if (!unlisted)
        QSKIP("the queue lists every Windows paper");
    QVERIFY(device.setPaperSize(A4Code));
    QVERIFY(!device.setPaperSize(*unlisted));
    QCOMPARE(device.paperSize(), A4Code);
}

void PrinterDeviceTest::customPaper_data()
{
    QTest::addColumn<int>("widthMm");
    QTest::addColumn<int>("heightMm");
    QTest::addColumn<int>("result");
    QTest::newRow("100 x 150") << 100 << 150 << int(CustomPaperApplied);
    QTest::newRow("landscape-shaped 150 x 100") << 150 << 100 << int(CustomPaperApplied);
    QTest::newRow("largest a record holds") << 3276 << 3276 << int(CustomPaperApplied);
    QTest::newRow("13 mm, just over the queue's minimum") << 13 << 13 << int(CustomPaperApplied);
    QTest::newRow("10 mm, under the queue's 12.7 mm") << 10 << 100 << int(PaperSizeRefused);
    QTest::newRow("5000 x 5000") << 5000 << 5000 << int(PaperSizeRefused);
    QTest::newRow("3277 does not fit in tenths") << 3277 << 100 << int(PaperSizeRefused);
    QTest::newRow("zero width") << 0 << 100 << int(PaperSizeRefused);
    QTest::newRow("negative height") << 100 << -5 << int(PaperSizeRefused);
}

void PrinterDeviceTest::customPaper()
{
    REQUIRE_CUPS();
    QFETCH(int, widthMm);
    QFETCH(int, heightMm);
    QFETCH(int, result);
    QtPrinterDevice device;
    QVERIFY(device.setPaperSize(A4Code));
    QVERIFY(device.setOrientation(1));
    QCOMPARE(int(device.setCustomPaper(widthMm, heightMm)), result);
    const PrinterPage page = device.page();
    if (result == CustomPaperApplied) {
        QCOMPARE(device.paperSize(), CustomCode);
        QVERIFY(device.setPaperSize(CustomCode)); // the current paper is always taken
        QCOMPARE(page.paperWidthTwips, mmToTwips(widthMm));
        QCOMPARE(page.paperHeightTwips, mmToTwips(heightMm));
    } else {
        QCOMPARE(device.paperSize(), A4Code);
        QCOMPARE(page.paperWidthTwips, mmToTwips(210));
    }
}

void PrinterDeviceTest::customPaperOnAVanishedQueue()
{
    REQUIRE_CUPS();
    const QString queue = uniqueName("QuilletGone");
    if (QProcess::execute(QStringLiteral("lpadmin"), {"-p", queue, "-v", "cups-pdf:/", "-m",
                                                      "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd", "-E"}) != 0)
        QSKIP("cannot add a CUPS queue here");
    QtPrinterDevice device;
    device.printer().setPrinterName(queue);
    const bool selected = device.printer().printerName() == queue;
    QProcess::execute(QStringLiteral("lpadmin"), {"-x", queue});
    QVERIFY(selected);
    QCOMPARE(device.setCustomPaper(100, 150), PrinterNotOpened);
}

void PrinterDeviceTest::jobPrintsThroughCups_data()
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

void PrinterDeviceTest::jobPrintsThroughCups()
{
    REQUIRE_CUPS();
    QFETCH(int, paper);
    QFETCH(int, orientation);
    QFETCH(int, pages);
    QFETCH(QSizeF, sheetPoints);
    QtPrinterDevice device;
    if (paper == CustomCode)
        QCOMPARE(device.setCustomPaper(100, 150), CustomPaperApplied);
    else
        QVERIFY(device.setPaperSize(paper));
    QVERIFY(device.setOrientation(orientation));
    const QString queue = QString::fromStdString(device.deviceName());
    if (!isCupsPdfQueue(queue))
        QSKIP("the default queue is not cups-pdf: its output cannot be read back");

    const QString name = uniqueName("QuilletJob");
    printPages(device, name, pages);
    const double pageWordPoints = device.surface().textWidth("Page") * 72 / 25.4;
    device.endDoc();
    const QRegularExpressionMatch job =
        QRegularExpression(QStringLiteral("^%1, job (\\d+)$").arg(queue)).match(device.lastOutput());
    QVERIFY2(job.hasMatch(), qPrintable(device.lastOutput()));
    QVERIFY(leftoverJobFiles().isEmpty());

    const QString pdf = waitForCupsPdf(name, queue, job.captured(1).toInt());
    QVERIFY2(!pdf.isEmpty(), "cups-pdf wrote no file in time");
    QCOMPARE(pdfPageCount(pdf), pages);
    const std::optional<QSizeF> sheet = pdfPageSizePoints(pdf);
    QVERIFY(sheet);
    QCOMPARE_LT(std::abs(sheet->width() - sheetPoints.width()), 1.0);
    QCOMPARE_LT(std::abs(sheet->height() - sheetPoints.height()), 1.0);
    const QString text =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    for (int page = 1; page <= pages; ++page)
        QVERIFY2(text.contains(QStringLiteral("Page %1 of %2 %3").arg(page).arg(pages).arg(name)),
                 qPrintable(text));

    const QRegularExpressionMatch word =
        QRegularExpression(QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
                                          "xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">Page</word>"))
            .match(run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
    QVERIFY(word.hasMatch());
    const QRectF box(QPointF(word.captured(1).toDouble(), word.captured(2).toDouble()),
                     QPointF(word.captured(3).toDouble(), word.captured(4).toDouble()));
    // Full size on paper: the word is as long as measured, along or across the sheet.
    QCOMPARE_LT(std::abs(std::max(box.width(), box.height()) - pageWordPoints), 1.0);
    if (orientation == 1) // 20 mm from the sheet's edge: the printable corner is the origin
        QCOMPARE_LT(std::abs(box.left() - 20 * 72 / 25.4), 1.0);
    QFile::remove(pdf);
}

void PrinterDeviceTest::discardedJobsNeverPrint()
{
    REQUIRE_CUPS();
    const QString killed = uniqueName("QuilletKilled");
    const QString destroyed = uniqueName("QuilletDestroyed");
    {
        QtPrinterDevice device;
        printPages(device, killed, 2);
        device.killDoc();
        QVERIFY(leftoverJobFiles().isEmpty());
        QVERIFY(device.lastOutput().isEmpty());
        printPages(device, destroyed, 1); // still open when the device goes
    }
    QVERIFY(leftoverJobFiles().isEmpty());

    // A later job on the same queue comes out after anything sent before it.
    QtPrinterDevice device;
    const QString queue = QString::fromStdString(device.deviceName());
    if (!isCupsPdfQueue(queue))
        QSKIP("the default queue is not cups-pdf: its output cannot be read back");
    const QString follower = uniqueName("QuilletFollower");
    printPages(device, follower, 1);
    device.endDoc();
    const int jobId = device.lastOutput().section(QStringLiteral("job "), 1).toInt();
    const QString pdf = waitForCupsPdf(follower, queue, jobId);
    QVERIFY(!pdf.isEmpty());
    QVERIFY(cupsPdfFile(killed).isEmpty());
    QVERIFY(cupsPdfFile(destroyed).isEmpty());
    QFile::remove(pdf);
}

void PrinterDeviceTest::jobWithoutDrawingIsDropped()
{
    QtPrinterDevice device;
    device.setDocumentName(uniqueName("QuilletEmpty"));
    Surface &surface = device.surface();
    surface.setFont(SurfaceFont());
    QVERIFY(surface.textWidth("measuring starts no job") > 0);
    device.endDoc();
    QVERIFY(device.lastOutput().isEmpty());
    QVERIFY(leftoverJobFiles().isEmpty());
}

void PrinterDeviceTest::withoutCupsJobsAreKeptAsPdf()
{
    // Run in a process of its own whose CUPS client finds no scheduler.
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("CUPS_SERVER"), m_tempDir.filePath(QStringLiteral("no-cupsd.sock")));
    environment.insert(QString::fromLatin1(NoCupsVariable), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("withoutCupsChild")});
    QVERIFY(child.waitForFinished(60000));
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             child.readAll().constData());
}

void PrinterDeviceTest::withoutCupsChild()
{
    if (qEnvironmentVariableIsEmpty(NoCupsVariable))
        QSKIP("runs inside withoutCupsJobsAreKeptAsPdf");
    QtPrinterDevice device;
    QVERIFY(device.isPdfFallback());
    QVERIFY(device.setPaperSize(A4Code));
    const PrinterPage page = device.page();
    QCOMPARE(page.printableWidthTwips, mmToTwips(210)); // a PDF has no border
    QCOMPARE(page.printableHeightTwips, mmToTwips(297));
    QVERIFY(device.setPaperSize(LetterCode));
    QCOMPARE(device.setCustomPaper(5000, 100), PaperSizeRefused);
    QCOMPARE(device.setCustomPaper(100, 150), CustomPaperApplied);

    printPages(device, uniqueName("QuilletFallback"), 2);
    device.endDoc();
    const QString pdf = device.lastOutput();
    QVERIFY2(QFileInfo(pdf).isFile(), qPrintable(pdf));
    QCOMPARE(QFileInfo(pdf).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
    QCOMPARE(pdfPageCount(pdf), 2);
    QFile::remove(pdf);
}

QTEST_MAIN(PrinterDeviceTest)
#include "printer_device_test.moc"
