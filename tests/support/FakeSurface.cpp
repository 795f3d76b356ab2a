#include "support/FakeSurface.h"

#include <algorithm>
#include <iterator>

namespace quillet::testing {

void FakeSurface::log(std::string op, std::vector<float> args, std::string_view text)
{
    if (logging)
        calls.push_back({std::move(op), std::move(args), std::string(text), pen(), font()});
}

void FakeSurface::print(std::string_view text)
{
    log("print", {currentX(), currentY()}, text);
    setCurrentX(currentX() + textWidth(text));
}

int64_t FakeSurface::characterCount(std::string_view text)
{
    int64_t count = 0;
    for (size_t offset = 0; offset < text.size(); offset += characterLength(text, offset))
        ++count;
    return count;
}

// Linear, and no further into the text than the first prefix too wide: the
// fake's advances simply add up.
std::vector<float> FakeSurface::prefixWidths(std::string_view text, float stopAfterMm) const
{
    if (measuresEachPrefix)
        return Surface::prefixWidths(text, stopAfterMm);
    std::vector<float> widths;
    for (size_t offset = 0; offset < text.size() && (widths.empty() || widths.back() <= stopAfterMm);
         offset += characterLength(text, offset))
        widths.push_back(widthMmOfUnits(static_cast<int64_t>(widths.size()) + 1));
    return widths;
}

std::vector<FakeSurface::Call> FakeSurface::callsOf(std::string_view op) const
{
    std::vector<Call> matching;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(matching),
                 [op](const Call &call) { return call.op == op; });
    return matching;
}

std::vector<std::string> FakeSurface::texts() const
{
    std::vector<std::string> printed;
    for (const Call &call : callsOf("print"))
        printed.push_back(call.text);
    return printed;
}

} // namespace quillet::testing
