// The page-range dialog, on its own: what a user types and what it stores.

#include "print/PageRangeDialog.h"
#include "print/PrinterDialog.h"

#include <QtTest>
#include <QtWidgets>

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

    void acceptStoresOnlyWhatIsChosenAndValid()
    {
        // After a click: the dialog open or closed, a problem told, and the pages the next print takes.
        // clang-format off
        const struct { const char *from, *to, *typedList, *button, *seen, *why; } rows[] = {
            {"2", "3", nullptr, "Command1", "closed, 2-3", "a range accepted"},
            {nullptr, nullptr, nullptr, "Command1", "closed, 1-12", "all pages accepted"},
            {"2", "3", nullptr, "Command2", "closed, 1-12", "a range cancelled stores nothing"},
            {nullptr, nullptr, "5-3;x", "Command1", "open 5-3 refused, 1-12",
             "only page-list characters go in; a reversed range is refused"},
            {nullptr, nullptr, "10-, 1-3,7", "Command1", "closed, 10-12 1-3 7-7", "in the order typed"},
        };
        // clang-format on
        for (const auto &row : rows) {
            PrinterDialog cmd;
            cmd.reset(12);
            PageRangeDialog dialog(12, cmd);
            dialog.show();
            dialog.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            if (row.from) {
                dialog.findChild<QRadioButton *>(QStringLiteral("oSELPAG"))->setChecked(true);
                box(dialog, "eFrom")->setText(QString::fromLatin1(row.from));
                box(dialog, "eTo")->setText(QString::fromLatin1(row.to));
            } else if (row.typedList) {
                box(dialog, "ePages")->setFocus(); // selects its option, as the range boxes do
                QTest::keyClicks(box(dialog, "ePages"), QString::fromLatin1(row.typedList));
                QVERIFY(dialog.findChild<QRadioButton *>(QStringLiteral("oLISTPAG"))->isChecked());
            }
            dialog.findChild<QPushButton *>(QLatin1String(row.button))->click();
            const bool explained =
                !dialog.findChild<QLabel *>(QStringLiteral("LPagesProblem"))->text().isEmpty();
            QString seen = dialog.isVisible() ? QStringLiteral("open ") + box(dialog, "ePages")->text() +
                                                    (explained ? QStringLiteral(" refused") : QString())
                                              : QStringLiteral("closed");
            QStringList spans;
            const quillet::PageList chosen = cmd.chosenPages(12);
            for (const quillet::PageSpan &span : chosen.spans())
                spans << QStringLiteral("%1-%2").arg(span.first).arg(span.last);
            seen += QStringLiteral(", ") + spans.join(u' ');
            QVERIFY2(seen == QLatin1String(row.seen), qPrintable(seen + u' ' + QLatin1String(row.why)));
        }
    }
};

QTEST_MAIN(PageRangeDialogTest)
#include "page_range_dialog_test.moc"
