#pragma once
// Every public method makes its control the active one and runs so that no
// error reaches the host: a failing step is skipped and the call returns.

#include "compose/Session.h"

namespace quillet {

class Quillet;

template <typename Body> void resumeOnError(Quillet *control, Body &&body) noexcept
{
    try {
        session().state.ActiveCtl = control;
        body();
    } catch (...) {
    }
}

template <typename Result, typename Body>
Result resumeOnError(Quillet *control, Result fallback, Body &&body) noexcept
{
    try {
        session().state.ActiveCtl = control;
        return body();
    } catch (...) {
        return fallback;
    }
}

} // namespace quillet
