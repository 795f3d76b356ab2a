// The preview and its dialogs as a screen reader and a keyboard user meet them:
// every control named and described, the page on view told, and every action
// reached with Tab and started with Space or Return.

#include "PreviewDriver.h"
#include "preview/FindDialog.h"
#include "print/PageRangeDialog.h"
#include "print/PrinterDialog.h"

#include <QAccessible>

using namespace preview_driver;
using quillet::Quillet;

namespace {

QString accessibleText(QWidget *widget, QAccessible::Text kind)
{
    return QAccessible::queryAccessibleInterface(widget)->text(kind);
}

/// Every control a user can meet in window is named and described.
void expectDescribed(QWidget &window)
{
    QList<QWidget *> controls = window.findChildren<QWidget *>();
    controls.removeIf([&](QWidget *child) {
        return !child->isVisibleTo(&window) ||
               !(child->inherits("QAbstractButton") || child->inherits("QLineEdit") ||
                 child->inherits("QLabel") || child->inherits("QAbstractSlider"));
    });
    for (QWidget *control : controls << &window)
        QVERIFY2(!accessibleText(control, QAccessible::Name).isEmpty() &&
                     !accessibleText(control, QAccessible::Description).isEmpty(),
                 qPrintable(control->objectName()));
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
            const auto press = [&](const char *focused, Qt::Key key) {
                child(window, focused)->setFocus();
                QTest::keyClick(QApplication::focusWidget(), key);
            };
            QWidget *page = child(window, "PRT");
            QCOMPARE(accessibleText(page, QAccessible::Name), QStringLiteral("Página 1 de 3"));
            press("bPag1", Qt::Key_Space);
            QCOMPARE(accessibleText(page, QAccessible::Name), QStringLiteral("Página 2 de 3"));

            // With every button enabled, Tab goes round the whole window.
            QStringList walk;
            press("butCAN", Qt::Key_Tab);
            while (QApplication::focusWidget() != child(window, "butCAN") && walk.size() < 20) {
                walk << QApplication::focusWidget()->objectName();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            QCOMPARE(walk, QStringList({"butSETUP", "butPRT", "butFIND", "butPDF", "butTHUMB", "FstPag",
                                        "bPag0", "bPag1", "LstPag", "LPag", "PRT", "ESC"}));

            press("LstPag", Qt::Key_Return);
            QCOMPARE(accessibleText(page, QAccessible::Name), QStringLiteral("Página 3 de 3"));
            press("LPag", Qt::Key_Return);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1\r"));
            QCOMPARE(accessibleText(page, QAccessible::Name), QStringLiteral("Página 1 de 3"));
            QCOMPARE(QApplication::focusWidget(), page); // the reader goes on at the page just shown
        });
    }

    void dialogsAreDescribed()
    {
        quillet::FindDialog find(nullptr);
        expectDescribed(find);
        quillet::PrinterDialog printer(nullptr);
        quillet::PageRangeDialog range(5, printer, nullptr);
        expectDescribed(range);
    }

private:
    Quillet m_control;
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
