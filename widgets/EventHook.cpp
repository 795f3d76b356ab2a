#include "widgets/EventHook.h"

#include "base/ErrorsIgnored.h"

#include <QObject>

namespace quillet {

namespace {

class EventHook : public QObject {
public:
    EventHook(QObject &watched, QEvent::Type type, std::function<void()> action)
        : QObject(&watched), m_type(type), m_action(std::move(action))
    {
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        return ignoringErrors(false, [&] {
            if (event->type() == m_type)
                m_action();
            return false;
        });
    }

private:
    QEvent::Type m_type;
    std::function<void()> m_action;
};

} // namespace

void onEvent(QObject &watched, QEvent::Type type, std::function<void()> action)
{
    watched.installEventFilter(new EventHook(watched, type, std::move(action)));
}

} // namespace quillet
