#include "preview/SelectAllText.h"

#include <QEvent>
#include <QLineEdit>

namespace quillet {

namespace {

class SelectOnFocus : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn)
            SelectAllText(*static_cast<QLineEdit *>(watched));
        return false;
    }
};

} // namespace

void SelectAllText(QLineEdit &box)
{
    if (!box.text().isEmpty())
        box.selectAll();
}

void selectAllOnFocus(QLineEdit &box)
{
    box.installEventFilter(new SelectOnFocus(&box));
}

} // namespace quillet
