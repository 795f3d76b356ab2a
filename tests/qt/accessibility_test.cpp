// The preview and its dialogs as a screen reader and a keyboard user meet them:
// every control named and described, the page on view told, and every action
// reached with Tab and started with Space or Return.

#include "PreviewDriver.h"
#include "preview/FindDialog.h"
#include "print/PageRangeDialog.h"
#include "print/PrinterDialog.h"
#include "print/WaitDialog.h"
#include "quillet/ListingState.h"

#include <QAccessible>
#include <QLineEdit>

using namespace preview_driver;
using quillet::Quillet;

namespace {

QString accessibleText(QWidget *widget, QAccessible::Text kind)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(kind) : QString();
}

/// Every control a user can meet in window is named and described.
void expectDescribed(QWidget &window)
{
    QList<QWidget *> controls{&window};
    for (QWidget *child : window.findChildren<QWidget *>())
        if (child->isVisibleTo(&window) && (child->inherits("QAbstractButton") || child->inherits("QLineEdit") ||
                                   child->inherits("QLabel") || child->inherits("QAbstractSlider")))
            controls << child;
    for (QWidget *control : controls) {
        QVERIFY2(!accessibleText(control, QAccessible::Name).isEmpty(), qPrintable(control->objectName()));
        QVERIFY2(!accessibleText(control, QAccessible::Description).isEmpty(), qPrintable(control->objectName()));
    }
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { m_control.Abort(); }

    void previewIsToldAndWalkedByKeyboard()
    {
        openListing(m_control);
        composePages(m_control, 3);
        showAndCheck(m_control, [](PreviewWindow &window) {
            QVERIFY(QTest::qWaitForWindowActive(&window));
            expectDescribed(window);
            QWidget *page = child(window, "PRT");
            QCOMPARE(accessibleText(page, QAccessible::Name), QStringLiteral("Página 1 de 3"));

            child(window, "bPag1")->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
            QCOMPARE(accessibleText(page, QAccessible::Name), QStringLiteral("Página 2 de 3"));

            // With every button enabled, Tab goes round the whole window.
            child(window, "butCAN")->setFocus();
            QStringList walk;
            do {
                walk << QApplication::focusWidget()->objectName();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            } while (QApplication::focusWidget() != child(window, "butCAN") && walk.size() < 30);
            QCOMPARE(walk, QStringList({"butCAN", "butSETUP", "butPRT", "butFIND", "butPDF", "butTHUMB", "FstPag",
                                        "bPag0", "bPag1", "LstPag", "LPag", "PRT", "ESC"}));

            child(window, "LstPag")->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(accessibleText(page, QAccessible::Name), QStringLiteral("Página 3 de 3"));
            child(window, "LPag")->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("ePAGE"));
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(accessibleText(page, QAccessible::Name), QStringLiteral("Página 1 de 3"));
            QCOMPARE(QApplication::focusWidget(), page); // the page just reached is where the reader goes on
        });
    }

    void dialogsAreDescribed()
    {
        quillet::FindDialog find(nullptr);
        expectDescribed(find);
        quillet::PrinterDialog printer(nullptr);
        quillet::PageRangeDialog range(5, printer, nullptr);
        expectDescribed(range);
        quillet::WaitDialog wait(nullptr);
        wait.prepareForPrinting(QStringLiteral("Teste"), true, QStringLiteral("Imprimir"));
        wait.setPage(2);
        expectDescribed(wait);
    }

private:
    Quillet m_control;
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
