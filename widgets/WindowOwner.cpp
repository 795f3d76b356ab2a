#include "widgets/WindowOwner.h"

#include <QWidget>
#include <QWindow>

namespace quillet {

void setWindowOwner(QWidget *window, QWidget *owner)
{
    if (!window || !owner)
        return;
    window->winId(); // creates the native window so it can take an owner
    QWidget *ownerWindow = owner->window();
    ownerWindow->winId();
    if (window->windowHandle() && ownerWindow->windowHandle())
        window->windowHandle()->setTransientParent(ownerWindow->windowHandle());
}

} // namespace quillet
