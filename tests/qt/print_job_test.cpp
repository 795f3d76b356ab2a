// Printing from the preview, end to end through the CUPS queue "PDF": page
// ranges from both set-up dialogs, the progress text, and Cancel discarding
// the whole job.

#include "CupsOutput.h"
#include "PreviewDriver.h"
#include "quillet/ListingState.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

using namespace preview_driver;
using namespace quillet::testing;

namespace {

/// The text pdftotext reads from a printed file, pages separated by form feeds.
QStringList printedPages(const QString &pdf)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    pdftotext.waitForFinished(20000);
    QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

/// Opens a listing named name of pages pages, each saying "Folha n de N".
void composeListing(quillet::Quillet &control, const QString &name, int pages, bool setup = true)
{
    QCOMPARE(control.Init(nullptr, name, QStringLiteral("S"), QStringLiteral("P"), QStringLiteral("A4"), setup,
                          true, true, true, false, true, false, true),
             quint8(0));
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            control.PNP();
        control.L(QStringLiteral("Folha PRICOCO de TRICOCO"), 20, 20);
    }
}

void print(PreviewWindow &window)
{
    child<QToolButton>(window, "butPRT")->click();
}

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

    void printsEveryPageInOrder()
    {
        const QString name = uniqueDocumentName(QStringLiteral("all7-"));
        composeListing(m_control, name, 7);
        QString caption, progress;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            child<QPushButton>(window, "bPag1")->click(); // on page 2 while printing
            watchNextPrint([&](QWidget &dialog) {
                caption = dialog.windowTitle();
                progress = child<QLabel>(dialog, "LBPag")->text();
                return false;
            });
            print(window);
            QCOMPARE(quillet::state().CurPage, 2);
            QVERIFY(quillet::state().Preview);
            QCOMPARE(child<QLabel>(window, "LPag")->text(), QStringLiteral("Página 2 de 7"));
        });
        QCOMPARE(caption, QStringLiteral("Imprimindo..."));
        QCOMPARE(progress, QStringLiteral("Página 1 de 7 Páginas"));
        const QString pdf = waitForCupsPdf(name);
        QVERIFY(!pdf.isEmpty());
        const QStringList pages = printedPages(pdf);
        QCOMPARE(pages.size(), 7);
        for (int page = 1; page <= 7; ++page)
            QVERIFY2(pages[page - 1].contains(QStringLiteral("Folha %1 de 7").arg(page)), qPrintable(pages[page - 1]));
        QFile::remove(pdf);
    }

    void pageRangeDialogChoosesTheNextPrintOnly()
    {
        const QString name = uniqueDocumentName(QStringLiteral("range-"));
        composeListing(m_control, name, 7, false);
        showAndCheck(m_control, [&](PreviewWindow &window) {
            onNextModal("quillet::PageRangeDialog", [](QWidget &dialog) {
                QCOMPARE(child<QLineEdit>(dialog, "eTo")->text(), QStringLiteral("7"));
                child<QRadioButton>(dialog, "oSELPAG")->setChecked(true);
                child<QLineEdit>(dialog, "eFrom")->setText(QStringLiteral("2"));
                child<QLineEdit>(dialog, "eTo")->setText(QStringLiteral("4"));
                child<QPushButton>(dialog, "Command1")->click();
            });
            child<QToolButton>(window, "butSETUP")->click();
            print(window); // pages 2 to 4
            print(window); // all pages again
        });
        const QString first = waitForCupsPdf(name);
        QVERIFY(!first.isEmpty());
        const QStringList range = printedPages(first);
        QFile::remove(first);
        QCOMPARE(range.size(), 3);
        for (int i = 0; i < 3; ++i)
            QVERIFY(range[i].contains(QStringLiteral("Folha %1 de 7").arg(i + 2)));
        const QString second = waitForCupsPdf(name);
        QVERIFY(!second.isEmpty());
        QCOMPARE(pdfPageCount(second), 7);
        QFile::remove(second);
    }

    void oneSheetHasASingularProgressText()
    {
        const QString name = uniqueDocumentName(QStringLiteral("one-"));
        composeListing(m_control, name, 1);
        QString progress;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            watchNextPrint([&](QWidget &dialog) {
                progress = child<QLabel>(dialog, "LBPag")->text();
                return false;
            });
            print(window);
        });
        QCOMPARE(progress, QStringLiteral("Página 1 de 1 Página"));
        const QString pdf = waitForCupsPdf(name);
        QCOMPARE(pdfPageCount(pdf), 1);
        QFile::remove(pdf);
    }

    void cancelDiscardsTheWholeJob()
    {
        const QString name = uniqueDocumentName(QStringLiteral("cancel-"));
        composeListing(m_control, name, 200);
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
            print(window);
            // The preview stays usable and the next print starts cleanly.
            QVERIFY(QFile::exists(QString::fromStdString(quillet::state().SpoolPath)));
            QCOMPARE(quillet::state().CurPage, 1);
            print(window);
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
