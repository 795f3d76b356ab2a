// The page-range dialog: its key filter, the rules applied when a box is left,
// and what it stores for the next print.

#include "print/PageRangeDialog.h"
#include "print/PrinterDialog.h"

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

private slots:
    void leavingABoxKeepsTheRangeValid_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QByteArray>("left");
        QTest::addColumn<QString>("after"); // from-to
        QTest::newRow("from beyond the last page") << "9"
                                                   << "5" << QByteArray("eFrom") << "5-5";
        QTest::newRow("from empty") << ""
                                    << "5" << QByteArray("eFrom") << "1-5";
        QTest::newRow("from above to, leaving from") << "4"
                                                     << "2" << QByteArray("eFrom") << "2-2";
        QTest::newRow("from above to, leaving to") << "4"
                                                   << "2" << QByteArray("eTo") << "4-4";
        QTest::newRow("to beyond any number") << "1"
                                              << "99999999999999999999" << QByteArray("eTo") << "1-5";
        QTest::newRow("to 0") << "1"
                              << "0" << QByteArray("eTo") << "1-1";
        QTest::newRow("letters and signs cannot be typed") << "1a2%"
                                                           << "5" << QByteArray("eFrom") << "5-5";
    }

    void leavingABoxKeepsTheRangeValid()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QByteArray, left);
        QFETCH(QString, after);
        PrinterDialog cmd;
        cmd.reset(5);
        PageRangeDialog dialog(5, cmd);
        dialog.show();
        QCOMPARE(box(dialog, "eFrom")->text() + u'-' + box(dialog, "eTo")->text(), QStringLiteral("1-5"));
        box(dialog, "eFrom")->setText(from);
        box(dialog, "eTo")->setText(to);
        QLineEdit *edit = box(dialog, left.constData());
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, left == "eFrom" ? from : to); // typed, then left as a user does
        emit edit->editingFinished();
        QCOMPARE(box(dialog, "eFrom")->text() + u'-' + box(dialog, "eTo")->text(), after);
    }

    void acceptStoresTheRangeOnlyWhenChosen_data()
    {
        QTest::addColumn<bool>("choose");
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::newRow("range accepted") << true << QByteArray("Command1") << 2 << 3;
        QTest::newRow("all pages accepted") << false << QByteArray("Command1") << 1 << 7;
        QTest::newRow("range cancelled") << true << QByteArray("Command2") << 1 << 7;
    }

    void acceptStoresTheRangeOnlyWhenChosen()
    {
        QFETCH(bool, choose);
        QFETCH(QByteArray, button);
        QFETCH(int, min);
        QFETCH(int, max);
        PrinterDialog cmd;
        cmd.reset(7);
        PageRangeDialog dialog(7, cmd);
        dialog.show();
        if (choose) {
            dialog.findChild<QRadioButton *>(QStringLiteral("oSELPAG"))->setChecked(true);
            box(dialog, "eFrom")->setText(QStringLiteral("2"));
            box(dialog, "eTo")->setText(QStringLiteral("3"));
        }
        dialog.findChild<QPushButton *>(QString::fromLatin1(button))->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(cmd.minPage(), min);
        QCOMPARE(cmd.maxPage(), max);
    }
};

QTEST_MAIN(PageRangeDialogTest)
#include "page_range_dialog_test.moc"
