// The printer chosen in the preview, end to end on CUPS: another printer's
// paper re-measures the page, a printer that goes away or refuses jobs is
// reported without losing the listing, and odd page ranges.

#include "CupsOutput.h"
#include "PreviewDriver.h"
#include "control/Runtime.h"
#include "widgets/Twips.h"
#include "platform/QtPrinterDevice.h"
#include "print/PrinterDialog.h"
#include "quillet/ListingState.h"

#include <QComboBox>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>
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

int visibleProgressDialogs()
{
    return int(std::ranges::count_if(QApplication::topLevelWidgets(), [](const QWidget *window) {
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
            const auto pageMm = [] { return QSizeF(quillet::state().PageW, quillet::state().PageH); };
            QCOMPARE(pageMm(), QSizeF(210, 297));
            pickPrinter(window, LetterQueue);
            QCOMPARE(pageMm(), QSizeF(216, 279));
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
        int progressDialogsBehindMessage = -1;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            pickPrinter(window, queue);
            child<QPushButton>(window, "bPag1")->click();
            const QString shownPage = child<QLabel>(window, "LPag")->text();
            QStringList command = breakQueue.split(QLatin1Char(' '));
            QVERIFY(run(command.takeFirst(), command << queue));

            QPointer<QTimer> watch = onNextModal("QMessageBox", [&](QWidget &box) {
                message = static_cast<QMessageBox &>(box).text();
                progressDialogsBehindMessage = visibleProgressDialogs();
                box.close();
            });
            clickPrint(window);
            delete watch; // no message box: the failure is reported below

            // The preview is as it was: usable, same page and spool file.
            QVERIFY(window.isEnabled() && child(window, "butPRT")->isEnabled());
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
                QStringLiteral("Não foi possível imprimir a listagem em %1: %2.").arg(queue, reason)),
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
        QCOMPARE(pdfSheetNumbers(pdf), sheets);
        QFile::remove(pdf);
    }

private:
    quillet::Quillet m_control;
};

QTEST_MAIN(PrinterChoiceTest)
#include "printer_choice_test.moc"
