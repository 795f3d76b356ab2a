// Saving as PDF (SavePDF and the preview's button) read back with pdfinfo and
// pdftotext, where saved files and page pictures land, and an export cancelled
// part way leaving no file.

#include "CupsOutput.h"
#include "PreviewDriver.h"
#include "compose/ListingState.h"
#include "control/Runtime.h"

using namespace preview_driver;
using namespace quillet::testing;

class PdfExportTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_dir.emplace(); }

    void savesThePagesAsked()
    {
        const struct {
            const char *paper, *pages; ///< pages: a typed list, or "from..to"
            QSize sizePoints;
            QList<int> sheets;
            const char *why;
        } rows[] = {
            {"A4", "1..-1", {595, 842}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, "all pages"},
            {"LETTER", "11..40", {612, 792}, {11, 12}, "a range past the end is clamped"},
            {"LEGAL", "1-3,7,10-", {612, 1008}, {1, 2, 3, 7, 10, 11, 12}, "the dialog's example"},
        };
        for (const auto &row : rows) {
            const auto explained = explainFailure(row.why);
            const QString pages = QString::fromUtf8(row.pages);
            composeSheets(m_control, "Relatório de teste", 12, false, QString::fromUtf8(row.paper));
            m_control.PFont("Liberation Sans", 20);
            const auto composing = [this] {
                return std::tuple(m_control.CurX(), m_control.CurY(), m_control.WX("m"));
            };
            const auto before = composing();
            const QString path = m_dir->filePath("listing.pdf");
            const qsizetype dots = pages.indexOf("..");
            // Before Show the pages so far are all there, and the host's cursor and font stay.
            QVERIFY(dots > 0 ? m_control.SavePDF(path, pages.left(dots).toInt(), pages.mid(dots + 2).toInt())
                             : m_control.SavePDF(path, pages));
            QCOMPARE(composing(), before);
            // Composing goes on after a save, and the next save has the new page.
            m_control.PNP();
            m_control.L("Folha PRICOCO de TRICOCO", 20, 20);
            const QString more = m_dir->filePath("more.pdf");
            QVERIFY(m_control.SavePDF(more));
            QCOMPARE(pdfSheetNumbers(more).mid(10), (QList<int>{11, 12, 13}));
            m_control.Abort();
            QCOMPARE(pdfPageSizePoints(path).toSize(), row.sizePoints);
            QCOMPARE(pdfInfo(path, "Title:\\s+(.*)").captured(1).trimmed(), "Relatório de teste");
            QCOMPARE(pdfSheetNumbers(path), row.sheets);
            QVERIFY(pdfLayoutPages(path).constFirst().contains("de 12"));
        }
    }

    void writesNothingWhenItCannot()
    {
        const QString path = m_dir->filePath("never.pdf");
        composeSheets(m_control, "Recusas", 3, false);
        QVERIFY(!m_control.SavePDF(path, 3, 2));
        QVERIFY(!m_control.SavePDF(path, "1-2,x"));
        QVERIFY(!m_control.SavePDF(m_dir->filePath("no/such/folder.pdf")));
        // A host told of the first page written opens its next listing: the save stops there.
        QObject replacer;
        int told = 0;
        connect(&m_control, &quillet::Quillet::pageWritten, &replacer, [&] {
            if (++told == 1)
                composeSheets(m_control, "Seguinte", 1, false);
        });
        QVERIFY(!m_control.SavePDF(path));
        QVERIFY(told == 1 && m_control.pageCount() == 1);
        m_control.Abort();
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void aLinkAtTheOutputNameIsReplacedNotFollowed()
    {
        composeSheets(m_control, "Ligação", 2, false);
        QFile victim(m_dir->filePath("victim"));
        QVERIFY(victim.open(QIODevice::WriteOnly) && victim.write("intact") == 6);
        victim.close();
        const QString pdf = m_dir->filePath("out.pdf"), png = m_dir->filePath("page-0002.png");
        QVERIFY(victim.link(pdf) && victim.link(png));
        QVERIFY(m_control.SavePDF(pdf));
        QCOMPARE(m_control.SavePageImages(m_dir->path()), QString());
        m_control.Abort();
        QVERIFY(victim.open(QIODevice::ReadOnly));
        QCOMPARE(victim.readAll(), QByteArray("intact"));
        for (const QString &output : {pdf, png}) {
            const QFileInfo written(output);
            QVERIFY(written.isFile() && !written.isSymLink());
            QCOMPARE(written.permissions(), QFileInfo(victim).permissions()); // a new file's usual mode
        }
        QCOMPARE(pdfPageCount(pdf), 2);
    }

    void savesFromThePreview()
    {
        const auto runFiles = [] {
            return QDir::temp().entryList({"quillet-*.pdf"}, QDir::Files | QDir::Hidden);
        };
        const QStringList before = runFiles();
        composeSheets(m_control, "Da janela", 300, false);
        const QString path = m_dir->filePath("from-preview");
        qputenv("QUILLET_PDF_THREADS", "2");
        showAndCheck(m_control, [&](PreviewWindow &window) {
            child<QPushButton>(window, "bPag1")->click(); // page 2 shown before and after
            answerSaveDialogs(path, "4, 1-2");
            child<QToolButton>(window, "butPDF")->click();
            QCOMPARE(pageLabelText(window), "Página 2 de 300");
            QCOMPARE(quillet::state().CurPage, 2);
            // Cancelled part way, on one thread and on every core: no file is left.
            for (const auto &[pages, cancelAt] : {std::pair{"1-4", 2}, {"1-300", 20}}) {
                atPageOfNextJob(cancelAt,
                                [](QWidget &dialog) { child<QPushButton>(dialog, "bCAN")->click(); });
                answerSaveDialogs(m_dir->filePath("stopped.pdf"), QString::fromUtf8(pages));
                child<QToolButton>(window, "butPDF")->click();
            }
        });
        qunsetenv("QUILLET_PDF_THREADS");
        QCOMPARE(pdfSheetNumbers(path + QStringLiteral(".pdf")), (QList<int>{4, 1, 2}));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"from-preview.pdf"});
        QCOMPARE(runFiles(), before);
    }

    void longListingsAreWrittenOnEveryCore()
    {
        const struct {
            const char *pages;
            bool archive;
            const char *why;
        } rows[] = {
            {"1-150", false, "every page, runs of whole pages"},
            {"1-100", true, "archived: the first run's metadata heads the file"},
            {"140-150,1-90,3", false, "out of order, a page twice: runs cut across the list"},
        };
        for (const auto &row : rows) {
            const auto explained = explainFailure(row.why);
            composeSheets(m_control, "Em paralelo", 150, false);
            m_control.setPdfArchive(row.archive);
            const QString onOne = m_dir->filePath("one.pdf");
            const QString onThree = m_dir->filePath("three.pdf");
            qputenv("QUILLET_PDF_THREADS", "1");
            QVERIFY(m_control.SavePDF(onOne, row.pages));
            qputenv("QUILLET_PDF_THREADS", "3");
            QVERIFY(m_control.SavePDF(onThree, row.pages));
            qunsetenv("QUILLET_PDF_THREADS");
            m_control.Abort();
            QVERIFY(outputOf("qpdf", {"--check", onThree}).contains("No syntax"));
            QCOMPARE(pdfLayoutPages(onThree), pdfLayoutPages(onOne));
            for (int page : {1, 50, 51, 100}) // runs are 50 pages long
                QCOMPARE(pdfPageImage(onThree, page, 50), pdfPageImage(onOne, page, 50));
            QCOMPARE(outputOf("pdfinfo", {"-meta", onThree}).contains("pdfaid:part"), row.archive);
        }
    }

    void thirtyTwoThousandPagesComposeSaveAndShow()
    {
        constexpr int MaxPages = 32767;
        composeSheets(m_control, "Longa", MaxPages, false);
        m_control.PNP(); // pages beyond the last number stay on it, and nothing is lost there
        m_control.L("além do limite", 40, 20);
        const QString path = m_dir->filePath("last.pdf");
        QVERIFY(m_control.SavePDF(path, MaxPages - 2, MaxPages));
        QString lastPageLabel;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            child<QPushButton>(window, "LstPag")->click();
            lastPageLabel = pageLabelText(window);
        });
        QCOMPARE(lastPageLabel, "Página 32767 de 32767");
        const QStringList pages = pdfLayoutPages(path);
        QCOMPARE(pages.size(), 3);
        QVERIFY2(pages[2].contains("Folha 32767 de 32767") && pages[2].contains("além do limite"),
                 qPrintable(pages[2]));
    }

private:
    PrivateTemporaryFolder m_runFiles; ///< other tests' print jobs meanwhile leave theirs in /tmp
    quillet::Quillet m_control;
    std::optional<QTemporaryDir> m_dir; // a fresh one for each test
};

QTEST_MAIN(PdfExportTest)
#include "pdf_export_test.moc"
