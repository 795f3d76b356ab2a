// Printing end to end on CUPS, each path once, read back from what cups-pdf
// wrote: a direct listing (where texts and a picture land), the pages chosen in
// the preview, Cancel, another printer's paper and a printer that refuses the
// job. Positions are millimetres of the A4 sheet: cups-pdf has no unprintable
// border (Qt's default of 10 pt would move every text); margins are 10 mm.

#include "CupsOutput.h"
#include "PrintDriver.h"
#include "print/PageList.h"
#include "print/PrinterDialog.h"
#include "compose/ListingState.h"
#include "control/Runtime.h"
#include "widgets/Twips.h"

#include <QPushButton>
#include <QTemporaryDir>

using namespace preview_driver;
using namespace quillet::testing;
using quillet::state;

namespace {

constexpr float MarginMm = 10;
constexpr int RenderDpi = 50;
/// Layout columns narrower than any character: pdftotext puts each word at its own x.
constexpr double LayoutPitchPt = 2;

/// The line of pdftotext's layout that holds text with its first letter at xMm
/// (within a column's rounding), whether text starts and ends it; line -1 if none.
struct PlacedText {
    int line = -1;
    bool startsLine = false, endsLine = false;
};

PlacedText placedAt(const QString &page, const QString &text, double xMm)
{
    const QStringList lines = page.split(u'\n'), wanted = text.split(u' ', Qt::SkipEmptyParts);
    static const QRegularExpression wordPattern(QStringLiteral("\\S+"));
    for (int line = 0; line < lines.size(); ++line) {
        QStringList words;
        QList<qsizetype> columns;
        for (const auto &match : wordPattern.globalMatch(lines[line]))
            words << match.captured(), columns << match.capturedStart();
        for (qsizetype first = 0; first + wanted.size() <= words.size(); ++first)
            if (words.mid(first, wanted.size()) == wanted &&
                qAbs(columns[first] * LayoutPitchPt * 25.4 / 72 - xMm) <= 1)
                return {line, first == 0, first + wanted.size() == words.size()};
    }
    return {};
}

QPoint pixelAt(float xMm, float yMm)
{
    return QPoint(int(xMm * RenderDpi / 25.4f), int(yMm * RenderDpi / 25.4f));
}

/// Runs an administration command quietly; true when it succeeded.
bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice()); // lpadmin warns that drivers are deprecated
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

class PrintingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A private temporary folder, so that job files left behind are ours to see.
        qputenv("TMPDIR", QFile::encodeName(m_tempDir.path()));
    }

    void init()
    {
        if (!hasCupsPdfQueue())
            QSKIP("no CUPS queue named PDF as the default printer");
    }

    void directListingPrintsWhereItWasPlaced()
    {
        const QString aborted = uniqueDocumentName(QStringLiteral("aborted-"));
        QCOMPARE(m_control.Init(&m_host, aborted, QStringLiteral("P")), quint8(0));
        m_control.PNP();
        m_control.Abort(); // nothing reaches the printer

        const QString name = uniqueDocumentName(QStringLiteral("placed-"));
        QCOMPARE(m_control.Init(&m_host, name, QStringLiteral("P")), quint8(0));
        const float usableMm = m_control.mx();
        const QString left = QStringLiteral("Margem esquerda"), right = QStringLiteral("margem direita");
        const QString centred = QStringLiteral("Título centrado");
        m_control.L(left, 10, 0);
        m_control.R(right, 10, usableMm);
        m_control.C(centred, 20);
        const float rightStartMm = MarginMm + usableMm - m_control.WX(right);
        const float centredStartMm = MarginMm + (usableMm - m_control.WX(centred)) / 2 + 0.2f;

        // Page 2: a picture of 60 pixels at 96 dpi, in mm from the margins (shapes on paper are
        // compared with the screen in screen_and_paper_test).
        constexpr float pictureTopMm = 258, pictureLeftMm = 150;
        constexpr float pictureSideMm = 60 * 25.4f / 96;
        QImage red(60, 60, QImage::Format_RGB32);
        red.fill(Qt::red);
        red.setDotsPerMeterX(qRound(96 / 0.0254));
        red.setDotsPerMeterY(qRound(96 / 0.0254));
        m_control.PNewImg(red);
        m_control.PNP();
        m_control.L(QStringLiteral("Página PRICOCO de TRICOCO"), 0, 0);
        m_control.PDrawImg(1, pictureTopMm, pictureLeftMm);
        m_control.Show();
        QVERIFY(m_host.isEnabled());
        QVERIFY2(m_control.lastOutput().startsWith(QStringLiteral("PDF, job ")),
                 qPrintable(m_control.lastOutput()));
        QCOMPARE(QDir(m_tempDir.path()).entryList({QStringLiteral("quillet-*.pdf")}, QDir::Files),
                 QStringList());

        const QString pdf = waitForCupsPdf(name);
        QVERIFY(!pdf.isEmpty());
        const auto removePdf = qScopeGuard([&] { QFile::remove(pdf); });
        const QStringList pages = pdfLayoutPages(pdf, LayoutPitchPt);
        QCOMPARE(pages.size(), 2);
        const QByteArray context = pages[0].toUtf8(); // shown when a check fails
        // Left text starts its line, right text ends it; the centred one stands alone.
        const PlacedText leftText = placedAt(pages[0], left, MarginMm),
                         rightText = placedAt(pages[0], right, rightStartMm);
        const PlacedText centredText = placedAt(pages[0], centred, centredStartMm);
        QVERIFY2(leftText.line >= 0 && leftText.startsLine && rightText.endsLine &&
                     rightText.line == leftText.line,
                 context.constData());
        QVERIFY2(centredText.startsLine && centredText.endsLine && centredText.line > leftText.line,
                 context.constData());
        // Direct mode knows the page number but not yet the page count.
        QVERIFY2(placedAt(pages[1], QStringLiteral("Página 2 de *"), MarginMm).line >= 0,
                 qPrintable(pages[1]));

        const QImage image = pdfPageImage(pdf, 2, RenderDpi);
        QVERIFY(!image.isNull());
        // The picture covers its natural 15.9 mm square and nothing more.
        for (const float dx : {-1.5f, 1.5f, pictureSideMm - 1.5f, pictureSideMm + 1.5f})
            for (const float dy : {-1.5f, 1.5f, pictureSideMm - 1.5f, pictureSideMm + 1.5f}) {
                const QColor colour =
                    image.pixelColor(pixelAt(MarginMm + pictureLeftMm + dx, MarginMm + pictureTopMm + dy));
                const bool isRed = colour.red() > 200 && colour.green() < 60 && colour.blue() < 60;
                QVERIFY2(isRed == (dx > 0 && dx < pictureSideMm && dy > 0 && dy < pictureSideMm),
                         qPrintable(QStringLiteral("picture corner %1, %2").arg(dx).arg(dy)));
            }
        QVERIFY(waitForCupsPdf(aborted, 100).isEmpty()); // the queue is empty: it never came
    }

    void previewPrintsTheChosenPages_data()
    {
        QTest::addColumn<bool>("setup"); // the system dialog's range, else the page-range dialog's
        QTest::addColumn<QString>("pages");
        QTest::addColumn<QString>("firstProgress");
        QTest::addColumn<QList<int>>("sheets");
        QTest::newRow("one page from the page-range dialog") << false << "3-3"
                                                             << "Página 3 de 1 Página" << QList<int>{3};
        QTest::newRow("a typed list, in the order typed")
            << false << "10-, 1-3,7"
            << "Página 10 de 7 Páginas" << QList<int>{10, 11, 12, 1, 2, 3, 7};
        QTest::newRow("system range beyond the last page stops there")
            << true << "11..99"
            << "Página 11 de 2 Páginas" << QList<int>{11, 12};
        QTest::newRow("system range from after to prints nothing") << true << "4..2"
                                                                   << "" << QList<int>{};
    }

    void previewPrintsTheChosenPages()
    {
        QFETCH(bool, setup);
        QFETCH(QString, pages);
        QFETCH(QString, firstProgress);
        QFETCH(QList<int>, sheets);
        const QString name = uniqueDocumentName(QStringLiteral("chosen-"));
        composeSheets(m_control, name, 12, setup);
        const QString outputBefore = printerDevice().lastOutput();
        QString progress, caption, message;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            child<QPushButton>(window, "bPag1")->click(); // on page 2 while printing
            quillet::PrinterDialog &cmd = window.printerDialog();
            if (setup)
                cmd.setChosenRange(pages.section(u'.', 0, 0).toInt(), pages.section(u'.', 2).toInt());
            else
                cmd.setPageList(quillet::PageList::parse(pages.toStdString(), 12));
            QPointer<QTimer> watch = watchProgress([&](QWidget &dialog) {
                caption = dialog.windowTitle();
                progress = child<QLabel>(dialog, "LBPag")->text();
                return false;
            });
            message = messageDuring([&] { clickPrint(window); });
            delete watch; // no progress dialog when nothing is printed
            // The job ended, the page shown stays, and the next print is of all pages again.
            QCOMPARE(child<QLabel>(window, "LPag")->text(), QStringLiteral("Página 2 de 12"));
            QCOMPARE(QList<int>({cmd.fromPage(), cmd.toPage(), int(cmd.chosenPages(12).pageCount())}),
                     QList<int>({1, 12, 12}));
        });
        QCOMPARE(message, QString());
        if (sheets.isEmpty()) {
            QCOMPARE(printerDevice().lastOutput(), outputBefore); // no job was sent
            return;
        }
        QCOMPARE(caption, QStringLiteral("Imprimindo..."));
        QCOMPARE(progress, firstProgress); // the listing's page number, then how many the job prints
        const QString pdf = waitForCupsPdf(name);
        QVERIFY(!pdf.isEmpty());
        const QList<int> printed = pdfSheetNumbers(pdf);
        QFile::remove(pdf);
        QCOMPARE(printed, sheets);
    }

    void cancelDiscardsTheWholeJob()
    {
        const QString name = uniqueDocumentName(QStringLiteral("cancel-"));
        composeSheets(m_control, name, 20);
        QString stoppedAt;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            atPageOfNextJob(3, [&](QWidget &dialog) {
                stoppedAt = child<QLabel>(dialog, "LBPag")->text();
                child<QPushButton>(dialog, "bCAN")->click();
                child<QPushButton>(dialog, "bCAN")->click(); // twice is no worse than once
            });
            clickPrint(window);
            // The preview stays usable and the next print starts cleanly.
            QVERIFY(QFile::exists(QString::fromStdString(state().SpoolPath)));
            QCOMPARE(state().CurPage, 1);
            clickPrint(window);
        });
        QVERIFY(stoppedAt.startsWith(QStringLiteral("Página 3 de 20")));
        const QString pdf = waitForCupsPdf(name);
        QVERIFY(!pdf.isEmpty());
        QCOMPARE(pdfPageCount(pdf), 20);
        QFile::remove(pdf);
        QVERIFY(waitForCupsPdf(name, 1000).isEmpty()); // only the second job reached the queue
    }

    void anotherPrintersPaperIsMeasuredAndPrintedOn()
    {
        const QString letterQueue = QStringLiteral("PDFLetter");
        const QPrinterInfo letter = QPrinterInfo::printerInfo(letterQueue);
        if (letter.isNull())
            QSKIP("no CUPS queue named PDFLetter (scripts/setup-machine.sh adds it)");
        const QSizeF letterPoints = letter.defaultPageSize().size(QPageSize::Point);
        const QString name = uniqueDocumentName(QStringLiteral("letter-"));
        composeSheets(m_control, name, 3, true, -1); // -1: the printer's own paper
        showAndCheck(m_control, [&](PreviewWindow &window) {
            QCOMPARE(QSizeF(state().PageW, state().PageH), QSizeF(210, 297));
            pickPrinter(window, letterQueue);
            QCOMPARE(QSizeF(state().PageW, state().PageH), QSizeF(216, 279));
            // 20 twips a point, 15 a pixel, at the preview's zoom.
            const QSize sheetPixels = (letterPoints * state().Zoom * 20 / quillet::TwipsPerPixel).toSize();
            QCOMPARE(child(window, "Assist")->size(), sheetPixels);
            QCOMPARE(child(window, "PRT")->size(), sheetPixels);
            clickPrint(window);
        });
        const QString pdf = waitForCupsPdf(name, 30000, letterQueue);
        QVERIFY(!pdf.isEmpty());
        QCOMPARE(pdfPageCount(pdf), 3);
        QCOMPARE(pdfPageSizePoints(pdf), QSizeF(612, 792));
        QFile::remove(pdf);
    }

    void refusedJobIsReportedAndTheListingStays_data()
    {
        QTest::addColumn<QString>("breakQueue");
        QTest::addColumn<QString>("reason");
        QTest::newRow("queue removed") << "lpadmin -x"
                                       << "a impressora não existe";
        QTest::newRow("queue rejecting jobs") << "cupsreject"
                                              << "a impressora não aceita trabalhos";
        // A stopped queue would hold the job unseen: it is reported like a refusal.
        QTest::newRow("queue stopped") << "cupsdisable"
                                       << "a impressora está parada";
    }

    void refusedJobIsReportedAndTheListingStays()
    {
        QFETCH(QString, breakQueue);
        QFETCH(QString, reason);
        const QString queue = uniqueDocumentName(QStringLiteral("QuilletGone"));
        QVERIFY(run(QStringLiteral("lpadmin"),
                    {QStringLiteral("-p"), queue, QStringLiteral("-v"), QStringLiteral("cups-pdf:/"),
                     QStringLiteral("-m"), QStringLiteral("lsb/usr/cups-pdf/CUPS-PDF_opt.ppd"),
                     QStringLiteral("-E")}));
        const auto removeQueue = qScopeGuard([&] {
            run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), queue});
        });
        const QString name = uniqueDocumentName(QStringLiteral("refused-"));
        composeSheets(m_control, name, 4);
        QString message;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            pickPrinter(window, queue);
            child<QPushButton>(window, "bPag1")->click();
            QStringList command = breakQueue.split(u' ');
            QVERIFY(run(command.takeFirst(), command << queue));
            message = messageDuring([&] { clickPrint(window); });
            // The preview is as it was: usable, same page and spool file.
            QVERIFY(window.isEnabled() && child(window, "butPRT")->isEnabled());
            QCOMPARE(child<QLabel>(window, "LPag")->text(), QStringLiteral("Página 2 de 4"));
            QVERIFY(QFile::exists(QString::fromStdString(state().SpoolPath)));
            // The job's PDF was kept where the message says.
            const QString kept = printerDevice().lastOutput();
            QVERIFY2(message.contains(kept), qPrintable(message));
            QCOMPARE(pdfPageCount(kept), 4);
            QFile::remove(kept);
            pickPrinter(window, QStringLiteral("PDF")); // and it prints on a working printer
            clickPrint(window);
        });
        QVERIFY2(message.startsWith(
                     QStringLiteral("Não foi possível imprimir a listagem em %1: %2.").arg(queue, reason)),
                 qPrintable(message));
        const QString pdf = waitForCupsPdf(name);
        QVERIFY(!pdf.isEmpty());
        QCOMPARE(pdfPageCount(pdf), 4);
        QFile::remove(pdf);
    }

private:
    QTemporaryDir m_tempDir;
    QWidget m_host;
    quillet::Quillet m_control{&m_host};
};

QTEST_MAIN(PrintingTest)
#include "printing_test.moc"
