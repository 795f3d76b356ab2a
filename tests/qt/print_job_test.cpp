// Printing from the preview, end to end through the CUPS queue "PDF": a page
// range, then all pages in order, the progress text, and Cancel discarding
// the whole job.

#include "CupsOutput.h"
#include "PreviewDriver.h"
#include "quillet/ListingState.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

using namespace preview_driver;
using namespace quillet::testing;

namespace {

/// Runs watch(progress dialog) at every page of the next print: the print job
/// lets timers run once before each page.
void watchNextPrint(std::function<bool(QWidget &dialog)> watch)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, watch] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == QLatin1String("wWAIT") && !watch(*modal)) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(0);
}

int progressPage(QWidget &dialog)
{
    return child<QLabel>(dialog, "LBPag")->text().section(QLatin1Char(' '), 1, 1).toInt();
}

} // namespace

class PrintJobTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        if (!hasCupsPdfQueue())
            QSKIP("no CUPS queue named PDF as the default printer");
    }

    void rangeThenAllPagesInOrder()
    {
        const QString name = uniqueDocumentName(QStringLiteral("range-"));
        composeSheets(m_control, name, 7, false);
        QStringList progress;
        QString caption;
        const auto watchFirstPage = [&] {
            watchNextPrint([&](QWidget &dialog) {
                caption = dialog.windowTitle();
                progress << child<QLabel>(dialog, "LBPag")->text();
                return false;
            });
        };
        showAndCheck(m_control, [&](PreviewWindow &window) {
            child<QPushButton>(window, "bPag1")->click(); // on page 2 while printing
            onNextModal("quillet::PageRangeDialog", [](QWidget &dialog) {
                QCOMPARE(child<QLineEdit>(dialog, "eTo")->text(), QStringLiteral("7"));
                child<QRadioButton>(dialog, "oSELPAG")->setChecked(true);
                child<QLineEdit>(dialog, "eFrom")->setText(QStringLiteral("3"));
                child<QLineEdit>(dialog, "eTo")->setText(QStringLiteral("3"));
                child<QPushButton>(dialog, "Command1")->click();
            });
            child<QToolButton>(window, "butSETUP")->click();
            watchFirstPage();
            clickPrint(window); // page 3 only
            watchFirstPage();
            clickPrint(window); // all pages again
            QCOMPARE(child<QLabel>(window, "LPag")->text(), QStringLiteral("Página 2 de 7"));
        });
        QCOMPARE(caption, QStringLiteral("Imprimindo..."));
        // The listing's page number, then how many the job prints.
        QCOMPARE(progress, (QStringList{QStringLiteral("Página 3 de 1 Página"),
                                        QStringLiteral("Página 1 de 7 Páginas")}));
        for (const QList<int> &sheets : {QList<int>{3}, QList<int>{1, 2, 3, 4, 5, 6, 7}}) {
            const QString pdf = waitForCupsPdf(name);
            QVERIFY(!pdf.isEmpty());
            const QList<int> printed = pdfSheetNumbers(pdf);
            QFile::remove(pdf);
            QCOMPARE(printed, sheets);
        }
    }

    void cancelDiscardsTheWholeJob()
    {
        const QString name = uniqueDocumentName(QStringLiteral("cancel-"));
        composeSheets(m_control, name, 200);
        QString stoppedAt;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            watchNextPrint([&](QWidget &dialog) {
                if (progressPage(dialog) < 3)
                    return true;
                stoppedAt = child<QLabel>(dialog, "LBPag")->text();
                child<QPushButton>(dialog, "bCAN")->click();
                child<QPushButton>(dialog, "bCAN")->click(); // twice is no worse than once
                return false;
            });
            clickPrint(window);
            // The preview stays usable and the next print starts cleanly.
            QVERIFY(QFile::exists(QString::fromStdString(quillet::state().SpoolPath)));
            QCOMPARE(quillet::state().CurPage, 1);
            clickPrint(window);
        });
        QVERIFY(stoppedAt.startsWith(QStringLiteral("Página 3 de 200")));
        const QString pdf = waitForCupsPdf(name);
        QVERIFY(!pdf.isEmpty());
        QCOMPARE(pdfPageCount(pdf), 200);
        QFile::remove(pdf);
        // Only the second job reached the queue.
        QVERIFY(waitForCupsPdf(name, 1000).isEmpty());
    }

private:
    quillet::Quillet m_control;
};

QTEST_MAIN(PrintJobTest)
#include "print_job_test.moc"
