// Pages arranged on sheets, read back where users get them: the PDF of
// SavePDFSheets and what cups-pdf printed from the preview (pdftotext, slot
// by slot of each A4 side), and what the scheduler was asked (ipptool). A
// side reads as the "Folha n" in its slots in order, "-" for a blank one:
// halves bottom then top (their pages are turned), quarters left to right,
// then down.

#include "CupsOutput.h"
#include "PrintDriver.h"

#include <QCheckBox>
#include <QTemporaryDir>

using namespace preview_driver;
using namespace quillet::testing;

namespace {

const QList<QRectF> Halves{{0, 421, 595, 421}, {0, 0, 595, 421}}; // points
const QList<QRectF> Quarters{{0, 0, 298, 421}, {298, 0, 298, 421}, {0, 421, 298, 421}, {298, 421, 298, 421}};

QStringList sidesOf(const QString &pdf, const QList<QRectF> &regions)
{
    static const QRegularExpression sheet(QStringLiteral("Folha (\\d+) de"));
    QStringList sides;
    for (int side = 1; side <= pdfPageCount(pdf); ++side) {
        QStringList numbers;
        for (const QRectF &r : regions) {
            const QStringList crop = QString::asprintf("-f %d -l %d -x %g -y %g -W %g -H %g", side, side,
                                                       r.x(), r.y(), r.width(), r.height())
                                         .split(u' ');
            const auto found =
                sheet.match(outputOf(QStringLiteral("pdftotext"), crop + QStringList{pdf, "-"}));
            numbers << (found.hasMatch() ? found.captured(1) : QStringLiteral("-"));
        }
        sides << numbers.join(u' ');
    }
    return sides;
}

/// The sides and number-up the scheduler kept of a job ("PDF, job 12"), "-" for one not asked.
QString jobAttributes(const QString &output, const QString &testFile)
{
    const QString report = QString::fromUtf8(outputOf(
        QStringLiteral("ipptool"), {"-t", "-d", "job_id=" + output.section(u' ', -1),
                                    "ipp://localhost/printers/" + output.section(u',', 0, 0), testFile}));
    QStringList values;
    for (const QString name : {"sides", "number-up"}) {
        const auto found = QRegularExpression(name + QStringLiteral(" \\(\\w+\\) = (\\S+)")).match(report);
        values << (found.hasMatch() ? found.captured(1) : QStringLiteral("-"));
    }
    return values.join(u' ');
}

} // namespace

class SheetsTest : public QObject {
    Q_OBJECT

private slots:
    void pagesLandInTheirSlots()
    {
        if (!hasCupsPdfQueue())
            QSKIP("no CUPS queue named PDF as the default printer");
        const QString testFile = m_dir.filePath(QStringLiteral("job.test"));
        QFile ipp(testFile);
        QVERIFY(ipp.open(QIODevice::WriteOnly) && ipp.write(R"({ OPERATION Get-Job-Attributes
            GROUP operation-attributes-tag ATTR charset attributes-charset utf-8
            ATTR naturalLanguage attributes-natural-language en ATTR uri printer-uri $uri
            ATTR integer job-id $job_id STATUS successful-ok DISPLAY sides DISPLAY number-up })") > 0);
        ipp.close();
        // clang-format off
        const struct {
            const char *queue; ///< printed there from the preview; none: SavePDFSheets
            int pagesPerSheet; bool booklet; int pages; const char *pageList;
            QStringList sides; const char *attributes; ///< sides and number-up the scheduler was asked
            const char *why;
        } rows[] = {
            {nullptr, 1, true, 8, "", {"8 1", "2 7", "6 3", "4 5"}, "", "folded, the sheets read 1 to 8"},
            {nullptr, 4, false, 9, "2-6", {"2 3 4 5", "6 - - -"}, "", "4 a side, of a page list"},
            {"PDF", 2, false, 3, "", {"1 2", "3 -"}, "one-sided -", "the dialog's 2 a sheet, not asked of CUPS"},
            {"PSDuplex", 1, true, 3, "", {"- 1", "2 3"}, "two-sided-short-edge 1", "a booklet on a duplexer"},
        };
        // clang-format on
        for (const auto &row : rows) {
            const auto explained = explainFailure(row.why);
            const QString name = uniqueDocumentName(QStringLiteral("sheets-"));
            composeSheets(m_control, name, row.pages);
            QString pdf = m_dir.filePath(name + QStringLiteral(".pdf")), attributes;
            if (!row.queue) {
                QVERIFY(m_control.SavePDFSheets(pdf, row.pagesPerSheet, row.booklet, row.pageList));
                m_control.Abort();
            } else {
                showAndCheck(m_control, [&](PreviewWindow &window) {
                    onNextModal("QPrintDialog", [&](QWidget &dialog) {
                        auto *printers = child<QComboBox>(dialog, "printers");
                        printers->setCurrentIndex(printers->findText(QLatin1String(row.queue)));
                        onNextModal("QDialog", [&](QWidget &properties) { // the printer's own options
                            auto *perSheet = child<QComboBox>(properties, "pagesPerSheetCombo");
                            perSheet->setCurrentIndex(
                                perSheet->findText(QString::number(row.pagesPerSheet) + u' ',
                                                   Qt::MatchStartsWith)); // "2 (2x1)"
                            static_cast<QDialog &>(properties).accept();
                        });
                        child<QPushButton>(dialog, "properties")->click();
                        child<QCheckBox>(dialog, "cbBooklet")->setChecked(row.booklet);
                        static_cast<QDialog &>(dialog).accept();
                    });
                    child<QToolButton>(window, "butSETUP")->click();
                    clickPrint(window);
                });
                attributes = jobAttributes(printerDevice().lastOutput(), testFile);
                pdf = waitForCupsPdf(name, 30000, QLatin1String(row.queue));
            }
            QCOMPARE(sidesOf(pdf, row.booklet || row.pagesPerSheet == 2 ? Halves : Quarters), row.sides);
            if (printsThroughLibcups())
                QCOMPARE(attributes, QLatin1String(row.attributes));
            else if (row.queue)
                qInfo("SKIP reading back what %s was asked: built without libcups, Qt does not say the job's id",
                      row.queue);
            QFile::remove(pdf);
        }
        composeSheets(m_control, uniqueDocumentName(QStringLiteral("refused-")), 2);
        QVERIFY(!m_control.SavePDFSheets(m_dir.filePath(QStringLiteral("three.pdf")), 3)); // 1, 2 or 4 only
        m_control.Abort();
    }

private:
    QTemporaryDir m_dir;
    quillet::Quillet m_control;
};

QTEST_MAIN(SheetsTest)
#include "sheets_test.moc"
