// Find in the preview: the dialog's starting state, stepping through the
// pages that hold a text, the case and accent options, a bad pattern, the "not found"
// message and cancelling; the marks over what was found, F3 and Shift+F3, and
// the hit counter. Markers and wildcards are matched in find_index_test.

#include "PreviewDriver.h"
#include "compose/ListingState.h"
#include "compose/Session.h"
#include "control/Runtime.h"
#include "preview/HitCounter.h"
#include "preview/PageView.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QRadioButton>

using namespace preview_driver;
using quillet::Quillet;

namespace {

/// Clicks butFIND; in the dialog optionally types text (which selects the first
/// page), sets the case option and the next page as the start, then accepts or cancels; answers
/// the message box if one comes. The dialog as it opened ("text", i: ignoring case, n: from the
/// next page, -: that option disabled), the page label afterwards and the message, if any.
QString find(PreviewWindow &window, const std::optional<QString> &text = {},
             std::optional<bool> ignoreCase = {}, bool cancel = false, bool fromNext = false)
{
    QString opened, message;
    QPointer<QTimer> messageWatch;
    onNextModal("quillet::FindDialog", [&](QWidget &dialog) {
        auto *next = child<QRadioButton>(dialog, "CP");
        opened = QStringLiteral("\"%1\" %2%3%4")
                     .arg(child<QLineEdit>(dialog, "TB1")->text(),
                          child<QCheckBox>(dialog, "MM")->isChecked() ? QStringLiteral("i") : QString(),
                          next->isChecked() ? QStringLiteral("n") : QString(),
                          next->isEnabled() ? QString() : QStringLiteral("-"));
        if (text) { // then edited by keys, as a user does
            child<QLineEdit>(dialog, "TB1")->setText(*text);
            QTest::keyClick(child(dialog, "TB1"), Qt::Key_Space);
            QTest::keyClick(child(dialog, "TB1"), Qt::Key_Backspace);
        }
        if (fromNext)
            next->setChecked(true);
        if (ignoreCase)
            child<QCheckBox>(dialog, "MM")->setChecked(*ignoreCase);
        messageWatch = onNextModal("QMessageBox", [&](QWidget &box) {
            QCOMPARE(box.windowTitle(), QStringLiteral("Pesquisar..."));
            message = static_cast<QMessageBox &>(box).text();
            static_cast<QMessageBox &>(box).accept();
        });
        QTest::mouseClick(child(dialog, cancel ? "Command2" : "Command1"), Qt::LeftButton);
    });
    QTest::mouseClick(child(window, "butFIND"), Qt::LeftButton);
    delete messageWatch; // found: no message came
    return QStringList{opened, child<QLabel>(window, "LPag")->text(), message}
        .join(QStringLiteral(" | "))
        .trimmed();
}

/// Pages 1 to 5; "Alfa" on pages 2 and 4, "ALFA" on page 5, "Total 7n" on page n.
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

    void findsStepFromTheChosenStartAndCancelKeepsTheOptions()
    {
        composeAlfaListing(m_control);
        QStringList finds;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            finds << find(window, QStringLiteral("alfa")) << find(window) << find(window) << find(window);
            finds << find(window, QStringLiteral("Alfa"), false, true) << find(window);
            // The same text once more, case first kept, then ignored: each its own pages.
            finds << find(window, QStringLiteral("ALFA"), false)
                  << find(window, QStringLiteral("ALFA"), true);
            // Typing starts from the first page unless the next is chosen; case kept; a bad pattern.
            finds << find(window, QStringLiteral("Total 7"))
                  << find(window, QStringLiteral("Total 7"), {}, false, true);
            finds << find(window, QStringLiteral("RELATÓRIO ALFA"), false)
                  << find(window, QStringLiteral("[Alfa"));
        });
        // The first opens empty, from the next page, ignoring case; the next ones go on from where
        // the last stopped ("ALFA" on page 5, case ignored); on the last page only page 1 can be
        // the start; a cancelled find stays, and keeps the text and options of the last one.
        QCOMPARE(finds,
                 (QStringList{"\"\" in | Página 2 de 5 |", "\"alfa\" in | Página 4 de 5 |",
                              "\"alfa\" in | Página 5 de 5 |", "\"alfa\" i- | Página 2 de 5 |",
                              "\"alfa\" in | Página 2 de 5 |", "\"alfa\" in | Página 4 de 5 |",
                              "\"alfa\" in | Página 5 de 5 |", "\"ALFA\" - | Página 2 de 5 |",
                              "\"ALFA\" in | Página 1 de 5 |",
                              "\"Total 7\" in | Página 1 de 5 | \"Total 7\" não foi encontrado !",
                              "\"Total 7\" in | Página 1 de 5 | \"RELATÓRIO ALFA\" não foi encontrado !",
                              "\"RELATÓRIO ALFA\" n | Página 1 de 5 | \"[Alfa\" não foi encontrado !"}));
    }

    void foundTextIsMarkedAndF3StepsThroughTheHits()
    {
        composeAlfaListing(m_control);
        m_control.PNP(); // page 6: two hits
        m_control.L(QStringLiteral("alfa um"));
        m_control.PNL();
        m_control.L(QStringLiteral("outra alfa"));
        QList<QRectF> pageTwo, pageTwoZoomed;
        QList<QString> steps;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            auto *view = window.findChild<quillet::PageView *>(QStringLiteral("PRT"));
            const auto where = [&] {
                return QStringLiteral("%1:%2/%3")
                    .arg(quillet::state().CurPage)
                    .arg(view->currentHighlight())
                    .arg(view->highlights().size());
            };
            find(window, QStringLiteral("alfa"));
            steps << where();
            pageTwo = view->highlights();
            // The mark covers drawn text: dark pixels inside, and only the word.
            const QImage page = view->grab().toImage();
            const QRect box = pageTwo.value(0).toAlignedRect();
            int dark = 0;
            for (int y = box.top(); y <= box.bottom(); ++y)
                for (int x = box.left(); x <= box.right(); ++x)
                    dark += qGray(page.pixel(x, y)) < 100;
            QVERIFY(dark > 10);
            child<QLineEdit>(window, "ESC")->setText(QStringLiteral("200"));
            QTest::keyClick(child(window, "ESC"), Qt::Key_Return);
            view->grab();
            pageTwoZoomed = view->highlights();
            for (const Qt::KeyboardModifier modifier :
                 {Qt::NoModifier, Qt::NoModifier, Qt::NoModifier, Qt::NoModifier, Qt::NoModifier,
                  Qt::ShiftModifier, Qt::ShiftModifier}) {
                QTest::keyClick(&window, Qt::Key_F3, modifier);
                steps << where();
            }
            QTest::keyClick(&window, Qt::Key_PageDown); // the marks last until the page changes
            QTest::keyClick(&window, Qt::Key_PageUp);
            steps << where();
        });
        // Hits on pages 2, 4, 5 and twice on 6; F3 past the last goes round to the
        // first, Shift+F3 from there back round to the last.
        QCOMPARE(steps, (QList<QString>{"2:0/1", "4:0/1", "5:0/1", "6:0/2", "6:1/2", "2:0/1", "6:1/2",
                                        "6:0/2", "5:-1/0"}));
        QCOMPARE(pageTwo.size(), 1);
        QCOMPARE(pageTwoZoomed.size(), 1);
        QVERIFY(qAbs(pageTwoZoomed[0].width() - 2 * pageTwo[0].width()) < 2);
        QVERIFY(qAbs(pageTwoZoomed[0].left() - 2 * pageTwo[0].left()) < 2);
    }

    void hitCounterCountsWithoutBlockingTheDialog()
    {
        composeAlfaListing(m_control);
        QStringList counts;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            find(window, QStringLiteral("alfa"));
            QTest::keyClick(&window, Qt::Key_F3); // page 4: the second of three
            onNextModal("quillet::FindDialog", [&](QWidget &dialog) {
                auto *hits = child<QLabel>(dialog, "LHits");
                QTRY_COMPARE(hits->text(), QStringLiteral("2 de 3"));
                counts << hits->text();
                child<QLineEdit>(dialog, "TB1")->setText(QStringLiteral("Total"));
                QTRY_COMPARE(hits->text(), QStringLiteral("0 de 5"));
                counts << hits->text();
                // Accents ignored: "Relatório" on pages 2 and 4, none of them on view.
                child<QCheckBox>(dialog, "AC")->setChecked(true);
                child<QLineEdit>(dialog, "TB1")->setText(QStringLiteral("relatorio"));
                QTRY_COMPARE(hits->text(), QStringLiteral("0 de 2"));
                counts << hits->text();
                child<QLineEdit>(dialog, "TB1")->setText(QStringLiteral("[x"));
                QTRY_COMPARE(hits->text(), QStringLiteral("0 de 0"));
                child<QLineEdit>(dialog, "TB1")->clear();
                QVERIFY(hits->text().isEmpty());
                QTest::mouseClick(child(dialog, "Command2"), Qt::LeftButton);
            });
            QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
        });
        QCOMPARE(counts, (QStringList{"2 de 3", "0 de 5", "0 de 2"}));
    }

    void aCountForAnEarlierTextNeverArrives()
    {
        composeAlfaListing(m_control);
        QList<int> counts;
        showAndCheck(m_control, [&](PreviewWindow &) {
            quillet::HitCounter counter;
            connect(&counter, &quillet::HitCounter::counted, [&](int, int hits, bool) { counts << hits; });
            for (const QString &text : {QStringLiteral("alfa"), QStringLiteral("Total")}) {
                counter.start(quillet::session().spool->snapshot(quillet::state().PageIndex), 5, text,
                              {.ignoreCase = true}, {});
                QThread::msleep(100); // the count is sent, not yet received
            }
            QTRY_VERIFY(!counts.isEmpty());
        });
        QCOMPARE(counts, QList<int>{5});
    }

private:
    Quillet m_control;
};

QTEST_MAIN(FindTest)
#include "find_test.moc"
