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

} // namespace quillet
