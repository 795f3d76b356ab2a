#pragma once
// Entry points from the host and the event loop let no exception out: the
// failing step is skipped and the call returns its fallback.

namespace quillet {

template <typename Body> void ignoringErrors(Body &&body) noexcept
{
    try {
        body();
    } catch (...) {
    }
}

template <typename Result, typename Body> Result ignoringErrors(Result fallback, Body &&body) noexcept
{
    try {
        return body();
    } catch (...) {
        return fallback;
    }
}

/// A slot that runs method on object and lets no exception out into the
/// event loop.
template <typename Object, typename... Args> auto guarded(Object *object, void (Object::*method)(Args...))
{
    return [object, method](Args... args) { ignoringErrors([&] { (object->*method)(args...); }); };
}

template <typename Object, typename Result, typename... Args>
auto guarded(Object *object, Result (Object::*method)(Args...))
{
    return [object, method](Args... args) { ignoringErrors([&] { (object->*method)(args...); }); };
}

} // namespace quillet
