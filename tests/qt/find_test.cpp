// Find in the preview: the dialog's starting state, stepping through the
// pages that hold a text, the case option, wildcards, markers, the "not
// found" message and cancelling.

#include "PreviewDriver.h"
#include "quillet/ListingState.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

using namespace preview_driver;
using quillet::Quillet;
using quillet::state;

namespace {

/// What the find dialog showed when it opened.
struct DialogState {
    QString text;
    bool ignoreCase = false;
    bool fromNext = false;
    bool nextEnabled = false;
};

struct FindOutcome {
    DialogState dialog;
    QString message; ///< the "not found" text, empty when the text was found
    int page = 0;    ///< the page on view afterwards
};

/// Clicks butFIND; in the dialog optionally enters text (which selects the
/// first page), sets the case option and the start, then accepts (or
/// cancels); answers a message box if one comes.
FindOutcome find(PreviewWindow &window, const std::optional<QString> &text = {},
                 std::optional<bool> ignoreCase = {}, bool cancel = false, bool fromNext = false)
{
    FindOutcome outcome;
    QPointer<QTimer> messageWatch;
    onNextModal("quillet::FindDialog", [&](QWidget &dialog) {
        outcome.dialog = {
            child<QLineEdit>(dialog, "TB1")->text(), child<QCheckBox>(dialog, "MM")->isChecked(),
            child<QRadioButton>(dialog, "CP")->isChecked(), child<QRadioButton>(dialog, "CP")->isEnabled()};
        if (text)
            child<QLineEdit>(dialog, "TB1")->setText(*text);
        if (fromNext)
            child<QRadioButton>(dialog, "CP")->setChecked(true);
        if (ignoreCase)
            child<QCheckBox>(dialog, "MM")->setChecked(*ignoreCase);
        messageWatch = onNextModal("QMessageBox", [&](QWidget &box) {
            auto &message = static_cast<QMessageBox &>(box);
            QCOMPARE(message.windowTitle(), QStringLiteral("Pesquisar..."));
            QCOMPARE(message.icon(), QMessageBox::Warning);
            outcome.message = message.text();
            message.accept();
        });
        QTest::mouseClick(child(dialog, cancel ? "Command2" : "Command1"), Qt::LeftButton);
    });
    QTest::mouseClick(child(window, "butFIND"), Qt::LeftButton);
    delete messageWatch; // found: no message came
    outcome.page = state().CurPage;
    return outcome;
}

/// Pages 1 to 5; "Alfa" on pages 2 and 4, "ALFA" on page 5.
void composeAlfaListing(Quillet &control)
{
    openListing(control);
    composePages(control, 5, [](Quillet &c, int page) {
        if (page == 2 || page == 4)
            c.C(QStringLiteral("Relatório Alfa"));
        if (page == 5)
            c.R(QStringLiteral("ALFA"));
        c.L(QStringLiteral("Total %1").arg(page * 7));
    });
}

} // namespace

class FindTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { m_control.Abort(); }

    void repeatedFindsStepThroughThePages()
    {
        composeAlfaListing(m_control);
        QList<FindOutcome> finds;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            finds << find(window, QStringLiteral("alfa"));
            finds << find(window) << find(window) << find(window);
            QCOMPARE(child<QLabel>(window, "LPag")->text(), QStringLiteral("Página 2 de 5"));
        });
        QCOMPARE(finds.size(), 4);
        // First find: empty text, from the next page, ignoring case.
        QCOMPARE(finds[0].dialog.text, QString());
        QVERIFY(finds[0].dialog.fromNext && finds[0].dialog.ignoreCase && finds[0].dialog.nextEnabled);
        QCOMPARE(finds[0].page, 2);
        QCOMPARE(finds[1].dialog.text, QStringLiteral("alfa"));
        QVERIFY(finds[1].dialog.fromNext);
        QCOMPARE(finds[1].page, 4);
        QCOMPARE(finds[2].page, 5); // "ALFA", case ignored
        // On the last page only the first page can be the start.
        QVERIFY(!finds[3].dialog.fromNext && !finds[3].dialog.nextEnabled);
        QCOMPARE(finds[3].page, 2);
    }

    void findFromPage_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ignoreCase");
        QTest::addColumn<bool>("fromNext");
        QTest::addColumn<int>("found"); // 0: not found, page 1 stays
        QTest::newRow("only on the current page") << "Total 7" << true << true << 0;
        QTest::newRow("case kept") << "RELATÓRIO" << false << false << 0;
        QTest::newRow("case ignored") << "RELATÓRIO" << true << false << 2;
        QTest::newRow("unbalanced bracket") << "[Alfa" << true << false << 0;
        QTest::newRow("lone # from the next page") << "#" << true << true << 2;
        QTest::newRow("digit wildcard") << "Total 2#" << true << false << 3;
        QTest::newRow("list wildcard") << "Total [3]5" << true << false << 5;
        QTest::newRow("marker as its page shows it") << "Página 4 de 5" << true << false << 4;
        QTest::newRow("marker text itself is not shown") << "PRICOCO" << true << false << 0;
        QTest::newRow("star alone") << "*" << true << true << 2;
        QTest::newRow("fifty wildcards") << QString(50, u'?') << true << false << 0;
    }

    void findFromPage()
    {
        QFETCH(QString, text);
        QFETCH(bool, ignoreCase);
        QFETCH(bool, fromNext);
        QFETCH(int, found);
        composeAlfaListing(m_control);
        FindOutcome outcome;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            outcome = find(window, text, ignoreCase, false, fromNext);
            QCOMPARE(child<QLabel>(window, "LPag")->text(),
                     QStringLiteral("Página %1 de 5").arg(qMax(found, 1)));
        });
        QCOMPARE(outcome.page, qMax(found, 1));
        QCOMPARE(outcome.message,
                 found ? QString() : u'"' + text + QStringLiteral("\" não foi encontrado !"));
    }

    void typingStartsFromTheFirstPage()
    {
        composeAlfaListing(m_control);
        showAndCheck(m_control, [&](PreviewWindow &window) {
            find(window, QStringLiteral("alfa")); // to page 2
            // A new text from page 2 would find page 4; typing it starts from page 1.
            onNextModal("quillet::FindDialog", [](QWidget &dialog) {
                QVERIFY(child<QRadioButton>(dialog, "CP")->isChecked());
                child<QLineEdit>(dialog, "TB1")->end(false); // the text came selected
                QTest::keyClicks(child(dialog, "TB1"), QStringLiteral(" "));
                QTest::keyClick(child(dialog, "TB1"), Qt::Key_Backspace);
                QVERIFY(child<QRadioButton>(dialog, "FP")->isChecked());
                QTest::mouseClick(child(dialog, "Command1"), Qt::LeftButton);
            });
            QTest::mouseClick(child(window, "butFIND"), Qt::LeftButton);
            QCOMPARE(state().CurPage, 2);
        });
    }

    void cancelKeepsTextAndCaseOption()
    {
        composeAlfaListing(m_control);
        showAndCheck(m_control, [&](PreviewWindow &window) {
            find(window, QStringLiteral("Alfa"), false);
            const FindOutcome cancelled = find(window, QStringLiteral("zzz"), true, true);
            QCOMPARE(cancelled.page, 2);
            const FindOutcome next = find(window);
            QCOMPARE(next.dialog.text, QStringLiteral("Alfa"));
            QVERIFY(!next.dialog.ignoreCase);
            QCOMPARE(next.page, 4);
        });
    }

private:
    Quillet m_control;
};

QTEST_MAIN(FindTest)
#include "find_test.moc"
