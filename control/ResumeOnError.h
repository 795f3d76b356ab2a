#pragma once
// Every public method makes its control the active one and runs so that no
// error reaches the host: a failing step is skipped and the call returns.

#include "base/ErrorsIgnored.h"
#include "compose/Session.h"
#include "control/Runtime.h"

namespace quillet {

class Quillet;

template <typename Body> void resumeOnError(Quillet *control, Body &&body) noexcept
{
    session().state.ActiveCtl = control;
    ignoringErrors(body);
}

template <typename Result, typename Body>
Result resumeOnError(Quillet *control, Result fallback, Body &&body) noexcept
{
    session().state.ActiveCtl = control;
    return ignoringErrors(fallback, body);
}

} // namespace quillet
