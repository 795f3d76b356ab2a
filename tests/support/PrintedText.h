#pragma once
// What a listing drew: the texts printed on the surface in use, with the
// top-left corner of each, in order.

#include "support/TestSession.h"

#include <ostream>
#include <string>
#include <vector>

namespace quillet::testing {

struct Printed {
    float x = 0;
    float y = 0; ///< top of the text
    std::string text;
};

inline std::ostream &operator<<(std::ostream &out, const Printed &p)
{
    return out << '"' << p.text << "\" at (" << p.x << ", " << p.y << ')';
}

/// The fake the commands draw on: the preview page, or the printer in direct mode.
inline FakeSurface &surfaceInUse(TestSession &t)
{
    return static_cast<FakeSurface &>(*t.state().Surface);
}

inline std::vector<Printed> printsOn(const FakeSurface &surface)
{
    std::vector<Printed> prints;
    for (const auto &call : surface.callsOf("print"))
        prints.push_back({call.args.at(0), call.args.at(1), call.text});
    return prints;
}

/// Every printed text joined, as a reader of the page sees it.
inline std::string textDrawn(const FakeSurface &surface)
{
    std::string all;
    for (const auto &p : printsOn(surface))
        all += p.text;
    return all;
}

} // namespace quillet::testing
