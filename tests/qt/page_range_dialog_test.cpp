// The page-range dialog: its key filters, the rules applied when a box is left,
// and what it stores for the next print.

#include "print/PageRangeDialog.h"
#include "print/PrinterDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using quillet::PageRangeDialog;
using quillet::PrinterDialog;

class PageRangeDialogTest : public QObject {
    Q_OBJECT

    static QLineEdit *box(PageRangeDialog &dialog, const char *name)
    {
        return dialog.findChild<QLineEdit *>(QLatin1String(name));
    }

    static QString range(PageRangeDialog &dialog)
    {
        return box(dialog, "eFrom")->text() + u'-' + box(dialog, "eTo")->text();
    }

private slots:
    void leavingABoxKeepsTheRangeValid()
    {
        // clang-format off
        const struct { const char *from, *to, *left, *after, *why; } rows[] = {
            {"9", "5", "eFrom", "5-5", "from beyond the last page is the last"},
            {"", "5", "eFrom", "1-5", "from empty is the first page"},
            {"4", "2", "eFrom", "2-2", "from above to, leaving from, comes down to to"},
            {"4", "2", "eTo", "4-4", "from above to, leaving to, takes to up to from"},
            {"1", "99999999999999999999", "eTo", "1-5", "to beyond any number is the last page"},
            {"1", "0", "eTo", "1-1", "to 0 is the first page"},
            {"1a2%", "5", "eFrom", "5-5", "letters and signs cannot be typed: 12 is beyond the last"},
        };
        // clang-format on
        for (const auto &row : rows) {
            PrinterDialog cmd;
            cmd.reset(5);
            PageRangeDialog dialog(5, cmd);
            dialog.show();
            QCOMPARE(range(dialog), QStringLiteral("1-5"));
            box(dialog, "eFrom")->setText(QString::fromLatin1(row.from));
            box(dialog, "eTo")->setText(QString::fromLatin1(row.to));
            QLineEdit *edit = box(dialog, row.left);
            edit->setFocus();
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            QTest::keyClicks(edit, edit->objectName() == "eFrom" ? row.from : row.to); // typed, then left
            emit edit->editingFinished();
            QVERIFY2(range(dialog) == QLatin1String(row.after), qPrintable(range(dialog) + u' ' + row.why));
        }
    }

    void acceptStoresTheRangeOnlyWhenChosen()
    {
        QStringList stored;
        // A range accepted, all pages accepted, a range cancelled.
        using Choice = std::pair<bool, const char *>;
        for (const auto &[chooseRange, button] :
             {Choice{true, "Command1"}, Choice{false, "Command1"}, Choice{true, "Command2"}}) {
            PrinterDialog cmd;
            cmd.reset(7);
            PageRangeDialog dialog(7, cmd);
            dialog.show();
            if (chooseRange) {
                dialog.findChild<QRadioButton *>(QStringLiteral("oSELPAG"))->setChecked(true);
                box(dialog, "eFrom")->setText(QStringLiteral("2"));
                box(dialog, "eTo")->setText(QStringLiteral("3"));
            }
            dialog.findChild<QPushButton *>(QLatin1String(button))->click();
            stored
                << QStringLiteral("%1 %2-%3").arg(dialog.isVisible()).arg(cmd.minPage()).arg(cmd.maxPage());
        }
        QCOMPARE(stored, (QStringList{"0 2-3", "0 1-7", "0 1-7"}));
    }

    void typedListIsFilteredAndRefusedUntilValid()
    {
        PrinterDialog cmd;
        cmd.reset(12);
        PageRangeDialog dialog(12, cmd);
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QLineEdit *pages = box(dialog, "ePages");
        pages->setFocus(); // selects its option, as the range boxes do
        QVERIFY(dialog.findChild<QRadioButton *>(QStringLiteral("oLISTPAG"))->isChecked());
        QTest::keyClicks(pages, QStringLiteral("5-3;x"));
        QCOMPARE(pages->text(), QStringLiteral("5-3")); // only page-list characters go in
        auto *accept = dialog.findChild<QPushButton *>(QStringLiteral("Command1"));
        accept->click();
        QVERIFY(dialog.isVisible() &&
                !dialog.findChild<QLabel *>(QStringLiteral("LPagesProblem"))->text().isEmpty());
        pages->setText(QStringLiteral("10-, 1-3,7"));
        accept->click();
        QVERIFY(!dialog.isVisible());
        QVERIFY(cmd.chosenPages(12).spans() == (std::vector<quillet::PageSpan>{{10, 12}, {1, 3}, {7, 7}}));
    }
};

QTEST_MAIN(PageRangeDialogTest)
#include "page_range_dialog_test.moc"
