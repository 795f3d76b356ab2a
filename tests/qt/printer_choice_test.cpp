// The printer chosen in the preview, end to end on CUPS: another printer's
// paper re-measures the page, a printer that goes away or refuses jobs is
// reported without losing the listing, odd page ranges, and the print button
// pressed during a print.

#include "CupsOutput.h"
#include "PreviewDriver.h"
#include "control/Runtime.h"
#include "control/Twips.h"
#include "platform/QtPrinterDevice.h"
#include "print/PrinterDialog.h"
#include "quillet/ListingState.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
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

void print(PreviewWindow &window)
{
    child<QToolButton>(window, "butPRT")->click();
}

/// The PDF cups-pdf wrote for documentName, once queue has let go of it.
QString waitForPrintedFile(const QString &documentName, const QString &queue)
{
    const QString pdf = waitForCupsPdf(documentName);
    QDeadlineTimer deadline(30000);
    while (!pdf.isEmpty() && !deadline.hasExpired()) {
        QProcess lpstat;
        lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue});
        lpstat.waitForFinished(5000);
        if (lpstat.readAllStandardOutput().trimmed().isEmpty())
            break;
        QThread::msleep(100); // polling interval, bounded by the deadline
    }
    return pdf;
}

QString pdfPageSize(const QString &path)
{
    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), {path});
    pdfinfo.waitForFinished(10000);
    return QRegularExpression(QStringLiteral("Page size:\\s+([^\\n]*)"))
        .match(QString::fromUtf8(pdfinfo.readAllStandardOutput()))
        .captured(1)
        .trimmed();
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

void composeListing(quillet::Quillet &control, const QString &name, int pages, bool setup = true,
                    const QVariant &paper = QStringLiteral("A4"))
{
    QCOMPARE(control.Init(nullptr, name, QStringLiteral("S"), QStringLiteral("P"), paper, setup, true, true,
                          true, false, true, false, true),
             quint8(0));
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            control.PNP();
        control.L(QStringLiteral("Folha PRICOCO de TRICOCO"), 20, 20);
    }
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
        QPrinter letterPrinter(letter, QPrinter::HighResolution);
        letterPrinter.setPageSize(letter.defaultPageSize());
        const QMarginsF letterBorderMm = letterPrinter.pageLayout().minimumMargins();
        const QSizeF letterPoints = letter.defaultPageSize().size(QPageSize::Point);

        const QString name = uniqueDocumentName(QStringLiteral("letter-"));
        composeListing(m_control, name, 3, true, -1); // -1: the printer's own paper
        showAndCheck(m_control, [&](PreviewWindow &window) {
            QCOMPARE(quillet::state().PageW, 210.0f);
            QCOMPARE(quillet::state().PageH, 297.0f);
            pickPrinter(window, LetterQueue);
            QCOMPARE(quillet::state().PageW, 216.0f);
            QCOMPARE(quillet::state().PageH, 279.0f);
            // The printable area is taken as centred: half the unprintable width each side.
            QVERIFY(qAbs(quillet::state().OffX - (letterBorderMm.left() + letterBorderMm.right()) / 2) < 0.1);
            QVERIFY(qAbs(quillet::state().OffY - (letterBorderMm.top() + letterBorderMm.bottom()) / 2) < 0.1);
            const QSize sheetPixels(previewPixels(letterPoints.width()),
                                    previewPixels(letterPoints.height()));
            QCOMPARE(child(window, "Assist")->size(), sheetPixels);
            QCOMPARE(child(window, "PRT")->size(), sheetPixels);
            print(window);
        });
        const QString pdf = waitForPrintedFile(name, LetterQueue);
        QVERIFY(!pdf.isEmpty());
        QCOMPARE(pdfPageCount(pdf), 3);
        QVERIFY2(pdfPageSize(pdf).startsWith(QStringLiteral("612 x 792 pts")), qPrintable(pdfPageSize(pdf)));
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
        composeListing(m_control, name, 4);
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
            print(window);
            delete watch; // no message box: the failure is reported below

            // The preview is as it was: same page, listing and spool file, a page count of 4.
            QVERIFY(window.isVisible());
            QVERIFY(quillet::state().Preview);
            QCOMPARE(quillet::state().CurPage, 2);
            QCOMPARE(child<QLabel>(window, "LPag")->text(), shownPage);
            QVERIFY(QFile::exists(QString::fromStdString(quillet::state().SpoolPath)));
            // The job's PDF was kept where the message says.
            const QString kept = printerDevice().lastOutput();
            QVERIFY2(message.contains(kept), qPrintable(message));
            QCOMPARE(pdfPageCount(kept), 4);
            QFile::remove(kept);

            // And it prints on a working printer.
            pickPrinter(window, DefaultQueue);
            print(window);
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
        QTest::addColumn<bool>("fromSetupDialog"); // else the page-range dialog's boxes
        QTest::addColumn<QStringList>("fromTo");
        QTest::addColumn<QList<int>>("sheets");
        QTest::newRow("from 0") << true << QStringList{"0", "3"} << QList<int>{1, 2, 3};
        QTest::newRow("negative both") << true << QStringList{"-4", "-1"} << QList<int>{}; // clamped to 1..-1
        QTest::newRow("widest 16-bit") << true << QStringList{"-32768", "32767"} << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("beyond the last page") << true << QStringList{"4", "99"} << QList<int>{4, 5};
        QTest::newRow("from after to") << true << QStringList{"4", "2"} << QList<int>{};
        QTest::newRow("typed 0 to 0") << false << QStringList{"0", "0"} << QList<int>{};
        QTest::newRow("typed 20 digits")
            << false << QStringList{"3", "99999999999999999999"} << QList<int>{3, 4, 5};
        QTest::newRow("typed from after to") << false << QStringList{"5", "2"} << QList<int>{};
        QTest::newRow("typed empty from") << false << QStringList{"", "2"} << QList<int>{1, 2};
    }

    void oddRangesPrintTheirPagesWithinTheListing()
    {
        QFETCH(bool, fromSetupDialog);
        QFETCH(QStringList, fromTo);
        const QString from = fromTo.first(), to = fromTo.last();
        QFETCH(QList<int>, sheets);
        const QString name = uniqueDocumentName(QStringLiteral("oddrange-"));
        composeListing(m_control, name, 5, fromSetupDialog);
        const QString outputBefore = printerDevice().lastOutput();
        bool messageShown = false;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            quillet::PrinterDialog &cmd = window.printerDialog();
            if (fromSetupDialog) {
                cmd.setChosenRange(from.toInt(), to.toInt());
            } else {
                onNextModal("quillet::PageRangeDialog", [&](QWidget &dialog) {
                    child<QRadioButton>(dialog, "oSELPAG")->setChecked(true);
                    child<QLineEdit>(dialog, "eFrom")->setText(from);
                    child<QLineEdit>(dialog, "eTo")->setText(to);
                    child<QPushButton>(dialog, "Command1")->click();
                });
                child<QToolButton>(window, "butSETUP")->click();
            }
            QPointer<QTimer> watch = onNextModal("QMessageBox", [&](QWidget &box) {
                messageShown = true;
                box.close();
            });
            print(window);
            delete watch;
            // The job ended and the next print is of all pages again.
            QVERIFY(quillet::state().Preview);
            QCOMPARE(quillet::state().CurPage, 1);
            QCOMPARE(QList<int>({cmd.minPage(), cmd.maxPage(), cmd.fromPage(), cmd.toPage()}),
                     QList<int>({1, 5, 1, 5}));
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

    void printButtonDuringAPrintDoesNothing()
    {
        const QString name = uniqueDocumentName(QStringLiteral("twice-"));
        composeListing(m_control, name, 30);
        int progressDialogs = 0;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            onNextModal("quillet::WaitDialog", [&](QWidget &) {
                auto *printButton = child<QToolButton>(window, "butPRT");
                QTest::mouseClick(printButton, Qt::LeftButton); // blocked by the modal progress dialog
                printButton->click();                           // reaches the button: the job refuses it
                progressDialogs = visibleProgressDialogs();
            });
            print(window);
        });
        QCOMPARE(progressDialogs, 1);
        const QString pdf = waitForCupsPdf(name);
        QVERIFY(!pdf.isEmpty());
        QCOMPARE(pdfPageCount(pdf), 30);
        QFile::remove(pdf);
        QVERIFY(waitForCupsPdf(name, 1500).isEmpty()); // one job only
    }

private:
    quillet::Quillet m_control;
};

QTEST_MAIN(PrinterChoiceTest)
#include "printer_choice_test.moc"
