#include "compose/Session.h"

namespace quillet {

Session &session()
{
    static Session theSession;
    return theSession;
}

const ListingState &state()
{
    return session().state;
}

} // namespace quillet
