#include "base/ErrorsIgnored.h"
#include "preview/PageDesk.h"
#include "preview/PageNavigation.h"
#include "preview/PreviewFinder.h"
#include "preview/PreviewToolbar.h"
#include "preview/PreviewWindow.h"
#include "preview/ZoomPanel.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QToolButton>
#include <QWheelEvent>

namespace quillet {

void PreviewWindow::buildKeyMap()
{
    const auto onKeys = [this](QKeyCombination keys, std::function<void()> action) {
        m_keyMap[keys.toCombined()] = std::move(action);
    };
    const auto clickIfShown = [](QAbstractButton *button) {
        return [button] {
            if (!button->isHidden() && button->isEnabled())
                button->click();
        };
    };
    const auto scroll = [this](Qt::Orientation orientation, QAbstractSlider::SliderAction action) {
        return [this, orientation, action] { m_desk->scrollStep(orientation, action); };
    };
    const auto findAgainIfShown = [this](TextFinder::Direction direction) {
        return [this, direction] {
            if (!m_toolbar->findButton().isHidden())
                m_finder->findAgain(direction);
        };
    };
    onKeys(Qt::Key_PageUp, [this] { showPage(listing().CurPage - 1); });
    onKeys(Qt::Key_PageDown, [this] { showPage(listing().CurPage + 1); });
    onKeys(Qt::Key_Home, [this] { showPage(1); });
    onKeys(Qt::Key_End, [this] { showPage(listing().NumPages); });
    onKeys(Qt::Key_Up, scroll(Qt::Vertical, QAbstractSlider::SliderSingleStepSub));
    onKeys(Qt::Key_Down, scroll(Qt::Vertical, QAbstractSlider::SliderSingleStepAdd));
    onKeys(Qt::Key_Left, scroll(Qt::Horizontal, QAbstractSlider::SliderSingleStepSub));
    onKeys(Qt::Key_Right, scroll(Qt::Horizontal, QAbstractSlider::SliderSingleStepAdd));
    onKeys(Qt::Key_Plus, [this] { m_zoom->step(true); });
    onKeys(Qt::Key_Minus, [this] { m_zoom->step(false); });
    onKeys(Qt::CTRL | Qt::Key_0, [this] { fitPageToWindow(); });
    onKeys(Qt::CTRL | Qt::Key_P, clickIfShown(&m_toolbar->printButton()));
    onKeys(Qt::CTRL | Qt::Key_F, clickIfShown(&m_toolbar->findButton()));
    onKeys(Qt::Key_F3, findAgainIfShown(TextFinder::Direction::Forward));
    onKeys(Qt::SHIFT | Qt::Key_F3, findAgainIfShown(TextFinder::Direction::Backward));
    onKeys(Qt::CTRL | Qt::Key_G, [this] { m_navigation->openGoToPage(); });
    // The buttons take Space themselves; Return reaches them from here.
    const auto clickFocusedButton = [this] {
        if (auto *button = qobject_cast<QAbstractButton *>(focusWidget()); button && button->isEnabled())
            button->click();
    };
    onKeys(Qt::Key_Return, clickFocusedButton);
    onKeys(Qt::Key_Enter, clickFocusedButton);
}

void PreviewWindow::keyPressEvent(QKeyEvent *event)
{
    ignoringErrors([&] {
        // "+" and "-" are the same keys whether typed with Shift or on the keypad.
        Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
        if (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Minus)
            modifiers &= ~Qt::ShiftModifier;
        const auto action = m_keyMap.find(QKeyCombination(modifiers, Qt::Key(event->key())).toCombined());
        if (action == m_keyMap.end()) {
            QDialog::keyPressEvent(event); // Escape closes
            return;
        }
        action->second();
    });
}

void PreviewWindow::wheelEvent(QWheelEvent *event)
{
    ignoringErrors([&] {
        const int angle = event->angleDelta().y();
        if (angle == 0) {
            event->ignore();
            return;
        }
        if (event->modifiers() & Qt::ControlModifier)
            m_zoom->step(angle > 0);
        else
            scrollOrTurnPage(angle);
        event->accept();
    });
}

void PreviewWindow::scrollOrTurnPage(int wheelAngle)
{
    if (m_desk->scrollByWheel(wheelAngle))
        return;
    // Past the page's edge: on to the next page from its top, or back to
    // the previous one at its bottom.
    const bool down = wheelAngle < 0;
    const int page = listing().CurPage + (down ? 1 : -1);
    if (page < 1 || page > listing().NumPages)
        return;
    showPage(page);
    m_desk->scrollToEdge(down ? Qt::TopEdge : Qt::BottomEdge);
}

} // namespace quillet
