#include "compose/Session.h"

namespace quillet {

Session &session()
{
    static Session theSession;
    return theSession;
}

Session::~Session()
{
    closeSpool(*this);
}

void closeSpool(Session &session)
{
    if (session.spool) {
        session.spool->remove();
        session.spool.reset();
    }
    session.state.SpoolNum = 0;
}

const ListingState &state()
{
    return session().state;
}

} // namespace quillet
