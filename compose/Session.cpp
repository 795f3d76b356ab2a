#include "compose/Session.h"

namespace quillet {

void closeSpool(Session &session)
{
    if (session.spool) {
        session.spool->remove();
        session.spool.reset();
    }
    session.state.SpoolNum = 0;
}

int pageCount(const ListingState &state)
{
    return state.Spooling ? state.CurPage : state.NumPages;
}

} // namespace quillet
