// The printer chosen in the preview, end to end on CUPS: another printer's
// paper re-measures the page, a printer that goes away or refuses jobs is
// reported without losing the listing, and odd page ranges.

#include "CupsOutput.h"
#include "PreviewDriver.h"
#include "control/Runtime.h"
#include "control/Twips.h"
#include "platform/QtPrinterDevice.h"
#include "print/PrinterDialog.h"
#include "quillet/ListingState.h"

#include <QComboBox>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QToolButton>

using namespace preview_driver;
using namespace quillet::testing;

namespace {

const QString LetterQueue = QStringLiteral("PDFLetter");
const QString DefaultQueue = QStringLiteral("PDF");

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

/// A cups-pdf queue of its own for one test, removed when the test ends however it ends.
class TemporaryQueue {
public:
    TemporaryQueue() : m_name(uniqueDocumentName(QStringLiteral("QuilletGone")))
    {
        m_created = run(QStringLiteral("lpadmin"),
                        {QStringLiteral("-p"), m_name, QStringLiteral("-v"), QStringLiteral("cups-pdf:/"),
                         QStringLiteral("-m"), QStringLiteral("lsb/usr/cups-pdf/CUPS-PDF_opt.ppd"),
                         QStringLiteral("-E"), QStringLiteral("-o"),
                         QStringLiteral("pdftops-renderer-default=pdftocairo")});
    }
    ~TemporaryQueue() { run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), m_name}); }
    TemporaryQueue(const TemporaryQueue &) = delete;
    TemporaryQueue &operator=(const TemporaryQueue &) = delete;

    bool isCreated() const { return m_created; }
    const QString &name() const { return m_name; }

private:
    QString m_name;
    bool m_created = false;
};

quillet::QtPrinterDevice &printerDevice()
{
    return quillet::Runtime::instance().printer();
}

/// Picks queue in the system print dialog that the set-up button opens.
void pickPrinter(PreviewWindow &window, const QString &queue)
{
    onNextModal("QPrintDialog", [queue](QWidget &dialog) {
        auto *printers = child<QComboBox>(dialog, "printers");
        QVERIFY(printers);
        printers->setCurrentIndex(printers->findText(queue));
        static_cast<QDialog &>(dialog).accept();
    });
    child<QToolButton>(window, "butSETUP")->click();
    QCOMPARE(printerDevice().printer().printerName(), queue);
}

/// The "Folha n" numbers of a printed listing, one per page, in print order.
QList<int> printedSheetNumbers(const QString &pdf)
{
    QList<int> numbers;
    static const QRegularExpression sheet(QStringLiteral("Folha (\\d+) de"));
    for (const QString &page : pdfLayoutPages(pdf))
        numbers << sheet.match(page).captured(1).toInt();
    return numbers;
}

int visibleProgressDialogs()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return static_cast<int>(std::count_if(windows.cbegin(), windows.cend(), [](const QWidget *window) {
        return window->objectName() == QLatin1String("wWAIT") && window->isVisible();
    }));
}

/// Pixels of a sheet side of `points` at the preview's zoom: 20 twips a point, 15 a pixel.
int previewPixels(qreal points)
{
    return qRound(quillet::state().Zoom * points * 20 / quillet::TwipsPerPixel);
}

} // namespace

class PrinterChoiceTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        if (!hasCupsPdfQueue())
            QSKIP("no CUPS queue named PDF as the default printer");
    }

    void anotherPrintersPaperIsMeasuredAndPrintedOn()
    {
        const QPrinterInfo letter = QPrinterInfo::printerInfo(LetterQueue);
        if (letter.isNull())
            QSKIP("no CUPS queue named PDFLetter (scripts/setup-machine.sh adds it)");
        const QSizeF letterPoints = letter.defaultPageSize().size(QPageSize::Point);

        const QString name = uniqueDocumentName(QStringLiteral("letter-"));
        composeSheets(m_control, name, 3, true, -1); // -1: the printer's own paper
        showAndCheck(m_control, [&](PreviewWindow &window) {
            QCOMPARE(quillet::state().PageW, 210.0f);
            QCOMPARE(quillet::state().PageH, 297.0f);
            pickPrinter(window, LetterQueue);
            QCOMPARE(quillet::state().PageW, 216.0f);
            QCOMPARE(quillet::state().PageH, 279.0f);
            const QSize sheetPixels(previewPixels(letterPoints.width()),
                                    previewPixels(letterPoints.height()));
            QCOMPARE(child(window, "Assist")->size(), sheetPixels);
            QCOMPARE(child(window, "PRT")->size(), sheetPixels);
            clickPrint(window);
        });
        const QString pdf = waitForCupsPdf(name, 30000, LetterQueue);
        QVERIFY(!pdf.isEmpty());
        QCOMPARE(pdfPageCount(pdf), 3);
        QCOMPARE(pdfPageSizePoints(pdf), QSizeF(612, 792));
        QFile::remove(pdf);
    }

    void refusedJobIsReportedAndTheListingStays_data()
    {
        QTest::addColumn<QString>("breakQueue");
        QTest::addColumn<QString>("reason");
        QTest::newRow("queue removed")
            << QStringLiteral("lpadmin -x") << QStringLiteral("a impressora não existe");
        QTest::newRow("queue rejecting jobs")
            << QStringLiteral("cupsreject") << QStringLiteral("a impressora não aceita trabalhos");
        // A stopped queue would hold the job unseen: it is reported like a refusal.
        QTest::newRow("queue stopped")
            << QStringLiteral("cupsdisable") << QStringLiteral("a impressora está parada");
    }

    void refusedJobIsReportedAndTheListingStays()
    {
        QFETCH(QString, breakQueue);
        QFETCH(QString, reason);
        TemporaryQueue queue;
        QVERIFY(queue.isCreated());
        const QString name = uniqueDocumentName(QStringLiteral("refused-"));
        composeSheets(m_control, name, 4);
        QString message;
        int progressDialogsBehindMessage = -1;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            pickPrinter(window, queue.name());
            child<QPushButton>(window, "bPag1")->click();
            const QString shownPage = child<QLabel>(window, "LPag")->text();
            QStringList command = breakQueue.split(QLatin1Char(' '));
            QVERIFY(run(command.takeFirst(), command << queue.name()));

            QPointer<QTimer> watch = onNextModal("QMessageBox", [&](QWidget &box) {
                message = static_cast<QMessageBox &>(box).text();
                progressDialogsBehindMessage = visibleProgressDialogs();
                box.close();
            });
            clickPrint(window);
            delete watch; // no message box: the failure is reported below

            // The preview is as it was: same page and spool file.
            QCOMPARE(child<QLabel>(window, "LPag")->text(), shownPage);
            QVERIFY(QFile::exists(QString::fromStdString(quillet::state().SpoolPath)));
            // The job's PDF was kept where the message says.
            const QString kept = printerDevice().lastOutput();
            QVERIFY2(message.contains(kept), qPrintable(message));
            QCOMPARE(pdfPageCount(kept), 4);
            QFile::remove(kept);

            // And it prints on a working printer.
            pickPrinter(window, DefaultQueue);
            clickPrint(window);
        });
        QVERIFY2(
            message.startsWith(
                QStringLiteral("Não foi possível imprimir a listagem em %1: %2.").arg(queue.name(), reason)),
            qPrintable(message));
        QCOMPARE(progressDialogsBehindMessage, 0);
        const QString pdf = waitForCupsPdf(name);
        QVERIFY(!pdf.isEmpty());
        QCOMPARE(pdfPageCount(pdf), 4);
        QFile::remove(pdf);
    }

    void oddRangesPrintTheirPagesWithinTheListing_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QList<int>>("sheets");
        QTest::newRow("from 0 starts at 1") << 0 << 3 << QList<int>{1, 2, 3};
        QTest::newRow("beyond the last page stops there") << 4 << 99 << QList<int>{4, 5};
        QTest::newRow("from after to prints nothing") << 4 << 2 << QList<int>{};
    }

    void oddRangesPrintTheirPagesWithinTheListing()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QList<int>, sheets);
        const QString name = uniqueDocumentName(QStringLiteral("oddrange-"));
        composeSheets(m_control, name, 5);
        const QString outputBefore = printerDevice().lastOutput();
        bool messageShown = false;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            quillet::PrinterDialog &cmd = window.printerDialog();
            cmd.setChosenRange(from, to);
            QPointer<QTimer> watch = onNextModal("QMessageBox", [&](QWidget &box) {
                messageShown = true;
                box.close();
            });
            clickPrint(window);
            delete watch;
            // The job ended and the next print is of all pages again.
            QCOMPARE(quillet::state().CurPage, 1);
            QCOMPARE(QList<int>({cmd.fromPage(), cmd.toPage()}), QList<int>({1, 5}));
        });
        QVERIFY(!messageShown);
        if (sheets.isEmpty()) {
            QCOMPARE(printerDevice().lastOutput(), outputBefore); // no job was sent
            return;
        }
        const QString pdf = waitForCupsPdf(name);
        QVERIFY(!pdf.isEmpty());
        QCOMPARE(printedSheetNumbers(pdf), sheets);
        QFile::remove(pdf);
    }

private:
    quillet::Quillet m_control;
};

QTEST_MAIN(PrinterChoiceTest)
#include "printer_choice_test.moc"
