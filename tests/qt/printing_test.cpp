// Printing end to end on CUPS, each path once, read back from what cups-pdf
// wrote (an A4 sheet without unprintable border; margins are 10 mm): direct
// listings, the pages chosen in the preview, Cancel, another printer's paper
// and a printer that refuses the job.

#include "CupsOutput.h"
#include "PrintDriver.h"
#include "compose/ListingState.h"
#include "platform/DialogCupsOptions.h"
#include "print/PrinterDialog.h"
#include "widgets/Twips.h"

#include <numeric>

using namespace preview_driver;
using namespace quillet::testing;
using quillet::state;

namespace {

constexpr float PictureTopMm = 258, PictureLeftMm = 150, PictureSideMm = 60 * 25.4f / 96;

/// The picture's square grown by mm each side, in pixels at 50 dpi from the sheet's corner.
QRect pictureSquare(float mm)
{
    const QPointF topLeft(10 + PictureLeftMm - mm, 10 + PictureTopMm - mm); // 10 mm margins
    return QRectF(topLeft * 50 / 25.4, QSizeF(1, 1) * (PictureSideMm + 2 * mm) * 50 / 25.4).toRect();
}

} // namespace

class PrintingTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        if (!hasCupsPdfQueue())
            QSKIP("no CUPS queue named PDF as the default printer");
    }

    /// Without DirectPageCount the page count prints as "*", with it as the
    /// count; nothing else differs, on paper or in what the host measures.
    void directListingPrintsAsComposed()
    {
        const struct {
            bool pageCount, show;
            QStringList pages; ///< each page's text, blanks simplified; none: no job
            const char *why;
        } rows[] = {
            {false, true, {"Página 1 de * Fatura 1/*", "Página 2 de *"}, "drawn as composed: no count yet"},
            {true, true, {"Página 1 de 2 Fatura 1/2", "Página 2 de 2"}, "printed at Show, with the count"},
            {true, false, {}, "Abort before Show: no job, and the spool file goes"},
            {false, false, {}, "Abort a job begun: withdrawn whole"},
        };
        QList<float> measuredFirst;
        for (const auto &row : rows) {
            const auto explained = explainFailure(row.why);
            if (!row.pageCount && !row.show && !printsThroughLibcups())
                continue; // Qt's CUPS engine prints the pages it has spooled when a job is aborted
            const QString name = uniqueDocumentName("direct-"), outputBefore = m_control.lastOutput();
            m_control.setDirectPageCount(row.pageCount);
            QCOMPARE(m_control.Init(&m_host, name, "P"), quint8(0));
            QCOMPARE(state().Spooling, row.pageCount); // recorded, markers and all, until Show
            const QString spool = QString::fromStdString(state().SpoolPath);
            QCOMPARE(QFile::exists(spool), row.pageCount);
            // Every row measures what the first did: the marker text moves CurX as "1 de *" does.
            const QList<float> measured = composeAndMeasure();
            if (measuredFirst.isEmpty())
                measuredFirst = measured;
            QCOMPARE(measured, measuredFirst);

            row.show ? m_control.Show() : m_control.Abort();
            QVERIFY(m_host.isEnabled());
            QVERIFY(!QFile::exists(spool));
            QCOMPARE(QDir(m_tempDir.path()).entryList({"Prt*", "quillet-*"}, QDir::Files), QStringList());
            if (row.pages.isEmpty()) {
                QCOMPARE(m_control.lastOutput(), outputBefore);
                QVERIFY(waitForCupsPdf(name, 1000).isEmpty());
                continue;
            }
            // Qt alone does not say the job's id.
            QCOMPARE(m_control.lastOutput().section(u',', 0, 0), "PDF");
            const QString pdf = waitForCupsPdf(name);
            const auto removePdf = qScopeGuard([&] { QFile::remove(pdf); });
            QStringList texts;
            for (const QString &page : pdfLayoutPages(pdf))
                texts << page.simplified();
            QCOMPARE(texts, row.pages);
            // The picture covers its natural square and nothing more.
            const QImage image = pdfPageImage(pdf, 2, 50);
            const auto isRed = [](QRgb pixel) {
                return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
            };
            const QRect red = boundsOf(image, image.rect(), isRed);
            QVERIFY2(red.contains(pictureSquare(-1.5f)) && pictureSquare(1.5f).contains(red),
                     qPrintable(QDebug::toString(red)));
        }
        m_control.setDirectPageCount(false);
    }

    void previewPrintsTheChosenPages()
    {
        // clang-format off
        const struct {
            bool setup; ///< the system dialog's range "from..to", else the page-range dialog's list
            const char *pages, *firstProgress; ///< the listing's page number, then how many the job prints
            QList<int> sheets;
            const char *why;
        } rows[] = {
            {false, "3-3", "Página 3 de 1 Página", {3}, "one page from the page-range dialog"},
            {false, "10-, 1-3,7", "Página 10 de 7 Páginas", {10, 11, 12, 1, 2, 3, 7},
             "a list, in the order typed"},
            {true, "11..99", "Página 11 de 2 Páginas", {11, 12}, "a range beyond the last page ends there"},
            {true, "4..2", "", {}, "a range from after to prints nothing"},
        };
        // clang-format on
        for (const auto &row : rows) {
            const auto explained = explainFailure(row.why);
            const QString name = uniqueDocumentName("chosen-"), pages = QString::fromUtf8(row.pages);
            composeSheets(m_control, name, 12, row.setup);
            const QString outputBefore = printerDevice().lastOutput();
            QString progress, message;
            showAndCheck(m_control, [&](PreviewWindow &window) {
                child<QPushButton>(window, "bPag1")->click(); // on page 2 while printing
                quillet::PrinterDialog &cmd = window.printerDialog();
                if (row.setup) {
                    cmd.setChosenRange(pages.section(u'.', 0, 0).toInt(), pages.section(u'.', 2).toInt());
                    // As Qt's dialog may leave a range for CUPS: the pages are chosen already.
                    quillet::dialogoptions::set(printerDevice().printer(), {"page-ranges", "2"});
                } else
                    cmd.setPageList(quillet::PageList::parse(row.pages, 12));
                QPointer<QTimer> watch = watchProgress([&](QWidget &dialog) {
                    progress = dialog.windowTitle() + u' ' + child<QLabel>(dialog, "LBPag")->text();
                    return false;
                });
                message = messageDuring([&] { clickPrint(window); });
                delete watch; // no progress dialog when nothing is printed
                // The job ended, the page shown stays, and the next print is of all pages again.
                QCOMPARE(pageLabelText(window), "Página 2 de 12");
                QCOMPARE(QList<int>({cmd.fromPage(), cmd.toPage(), int(cmd.chosenPages(12).pageCount())}),
                         QList<int>({1, 12, 12}));
            });
            QCOMPARE(message, QString());
            if (row.sheets.isEmpty()) {
                QCOMPARE(printerDevice().lastOutput(), outputBefore); // no job was sent
                continue;
            }
            QCOMPARE(progress, QStringLiteral("Imprimindo... ") + QString::fromUtf8(row.firstProgress));
            QCOMPARE(printedSheets(name), row.sheets);
        }
    }

    /// libcups withdraws a cancelled job whole, a long one written on every
    /// core; Qt's CUPS engine cannot withdraw the sheets it drew before Cancel
    /// was seen, and draws every job itself, on one thread.
    void cancelledJobsNeverReachThePrinterOrSayWhatMayStillPrint()
    {
        const bool withdrawn = printsThroughLibcups();
        const struct {
            int pages, cancelAt;
            const char *threads, *why;
        } rows[] = {{20, 3, "1", "a short job, on one thread"}, {120, 60, "2", "a long job, on two threads"}};
        for (const auto &row : rows) {
            const auto explained = explainFailure(row.why);
            if (!withdrawn && row.pages > 20)
                continue;
            qputenv("QUILLET_PDF_THREADS", row.threads);
            const QString name = uniqueDocumentName("cancel-");
            composeSheets(m_control, name, row.pages);
            QString stoppedAt, told;
            showAndCheck(m_control, [&](PreviewWindow &window) {
                atPageOfNextJob(row.cancelAt, [&](QWidget &dialog) {
                    stoppedAt = child<QLabel>(dialog, "LBPag")->text();
                    child<QPushButton>(dialog, "bCAN")->click();
                    child<QPushButton>(dialog, "bCAN")->click(); // twice is no worse than once
                });
                clickPrint(window);
                told = QToolTip::text();
                // The preview stays usable and the next print starts cleanly.
                QVERIFY(QFile::exists(QString::fromStdString(state().SpoolPath)));
                QCOMPARE(state().CurPage, 1);
                if (withdrawn)
                    clickPrint(window);
            });
            qunsetenv("QUILLET_PDF_THREADS");
            if (row.pages == 20) // on two threads the progress runs ahead of the page asked
                QVERIFY(stoppedAt.startsWith("Página 3 de 20"));
            QList<int> sheets(withdrawn ? row.pages : row.cancelAt);
            std::iota(sheets.begin(), sheets.end(), 1);
            QCOMPARE(told, withdrawn ? "A impressão foi cancelada: nada foi enviado para a impressora."
                                     : "A impressão foi cancelada, mas as páginas já enviadas "
                                       "para a impressora ainda podem sair.");
            QCOMPARE(printedSheets(name), sheets);
            if (withdrawn)
                QVERIFY(waitForCupsPdf(name, 1000).isEmpty()); // only the second job reached the queue
        }
    }

    void anotherPrintersPaperIsMeasuredAndPrintedOn()
    {
        const QString letterQueue = QStringLiteral("PDFLetter");
        if (QPrinterInfo::printerInfo(letterQueue).isNull())
            QSKIP("no CUPS queue named PDFLetter (scripts/setup-machine.sh adds it)");
        const QSizeF letterPoints(612, 792);
        const QString name = uniqueDocumentName("letter-");
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
        QCOMPARE(pdfPageCount(pdf), 3);
        QCOMPARE(pdfPageSizePoints(pdf), letterPoints);
        QFile::remove(pdf);
    }

    void refusedJobIsReportedAndTheListingStays()
    {
        // A stopped queue would hold the job unseen: it is reported like a refusal.
        const struct {
            const char *breakQueue, *reason;
            bool qtSeesIt;
        } rows[] = {{"lpadmin -x", "a impressora não existe", true},
                    {"cupsreject", "a impressora não aceita trabalhos", false},
                    {"cupsdisable", "a impressora está parada", true}};
        for (const auto &row : rows) {
            const auto explained = explainFailure(row.breakQueue);
            if (!row.qtSeesIt && !printsThroughLibcups()) {
                qInfo("SKIP %s: built without libcups, and Qt does not tell whether a queue accepts jobs",
                      row.breakQueue);
                continue;
            }
            const QString queue = uniqueDocumentName("QuilletGone"), name = uniqueDocumentName("refused-");
            const QString added =
                QStringLiteral("-p %1 -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd -E");
            QCOMPARE(QProcess::execute("lpadmin", added.arg(queue).split(u' ')), 0);
            const auto removeQueue = qScopeGuard([&] { QProcess::execute("lpadmin", {"-x", queue}); });
            composeSheets(m_control, name, 4);
            QString message;
            showAndCheck(m_control, [&](PreviewWindow &window) {
                pickPrinter(window, queue);
                child<QPushButton>(window, "bPag1")->click();
                QStringList command = QString::fromUtf8(row.breakQueue).split(u' ');
                QCOMPARE(QProcess::execute(command.takeFirst(), command << queue), 0);
                message = messageDuring([&] { clickPrint(window); });
                // The preview is as it was: usable, same page and spool file.
                QVERIFY(window.isEnabled() && child(window, "butPRT")->isEnabled());
                QCOMPARE(pageLabelText(window), "Página 2 de 4");
                QVERIFY(QFile::exists(QString::fromStdString(state().SpoolPath)));
                // The job's PDF was kept where the message says.
                const QString kept = printerDevice().lastOutput();
                QVERIFY2(message.contains(kept), qPrintable(message));
                QCOMPARE(pdfPageCount(kept), 4);
                QFile::remove(kept);
                pickPrinter(window, "PDF"); // and it prints on a working printer
                clickPrint(window);
            });
            QVERIFY2(message.startsWith(QStringLiteral("Não foi possível imprimir a listagem em %1: %2.")
                                            .arg(queue, QString::fromUtf8(row.reason))),
                     qPrintable(message));
            QCOMPARE(printedSheets(name).size(), 4);
        }
    }

private:
    /// Two pages whose texts hold the markers, a picture on the second; what the host reads meanwhile.
    QList<float> composeAndMeasure()
    {
        QImage red(60, 60, QImage::Format_RGB32); // PictureSideMm at 96 dpi
        red.fill(Qt::red);
        red.setDotsPerMeterX(qRound(96 / 0.0254));
        red.setDotsPerMeterY(qRound(96 / 0.0254));
        m_control.PNewImg(red);
        QList<float> measured;
        m_control.C("Fatura", 20);
        m_control.L("Página PRICOCO de TRICOCO"); // at the cursor, which it moves on
        measured << m_control.CurX() << m_control.WX("Página 1 de *");
        m_control.NewCol(150, 30);
        m_control.LCol(1, "PRICOCO/TRICOCO");
        m_control.PFont("Liberation Sans", 17.5f, true);
        measured << m_control.CurX() << m_control.CurY() << m_control.WY(QString()) << m_control.NLines()
                 << m_control.mx() << m_control.MY() << m_control.PW() << m_control.PH();
        m_control.PNP();
        m_control.L("Página PRICOCO de TRICOCO", 0, 0);
        measured << m_control.CurX() << m_control.NLines();
        m_control.PDrawImg(1, PictureTopMm, PictureLeftMm);
        return measured;
    }

    PrivateTemporaryFolder m_tempDir;
    QWidget m_host;
    quillet::Quillet m_control{&m_host};
};

QTEST_MAIN(PrintingTest)
#include "printing_test.moc"
