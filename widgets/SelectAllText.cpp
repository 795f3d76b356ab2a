#include "widgets/SelectAllText.h"

#include "widgets/EventHook.h"

#include <QLineEdit>

namespace quillet {

void SelectAllText(QLineEdit &box)
{
    if (!box.text().isEmpty())
        box.selectAll();
}

void selectAllOnFocus(QLineEdit &box)
{
    onEvent(box, QEvent::FocusIn, [&box] { SelectAllText(box); });
}

} // namespace quillet
