#pragma once
// Behaviour added to a Qt object without subclassing it: a function run on
// every event of one type that reaches the object, before the object itself
// handles the event.

#include <QEvent>

#include <functional>

class QObject;

namespace quillet {

/// The hook is a child of watched, so it lives exactly as long.
void onEvent(QObject &watched, QEvent::Type type, std::function<void()> action);

} // namespace quillet
