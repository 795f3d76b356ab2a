#include "support/FakeSurface.h"

#include "render/Utf8.h"

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

float FakeSurface::textWidth(std::string_view text) const
{
    return static_cast<float>(characterOffsets(text).size() - 1) * CharWidthMm;
}

std::vector<float> FakeSurface::prefixWidths(std::string_view text, float stopAfterMm) const
{
    std::vector<float> widths;
    const size_t characters = characterOffsets(text).size() - 1;
    for (size_t i = 1; i <= characters; ++i) {
        widths.push_back(static_cast<float>(i) * CharWidthMm);
        if (widths.back() > stopAfterMm)
            break;
    }
    return widths;
}

float FakeSurface::textHeight(std::string_view) const
{
    return font().size * HeightMmPerPoint;
}

float FakeSurface::fontAscent() const
{
    return 0.8f * textHeight({});
}

float FakeSurface::fontDescent() const
{
    return 0.2f * textHeight({});
}

void FakeSurface::line(LineKind kind, float x1, float y1, float x2, float y2)
{
    log("line", {static_cast<float>(kind), x1, y1, x2, y2});
}

void FakeSurface::circle(float x, float y, float radius)
{
    log("circle", {x, y, radius});
}

void FakeSurface::paintPicture(const Picture &, float x, float y, float width, float height)
{
    log("picture", {x, y, width, height});
}

void FakeSurface::setScale(float left, float top, float right, float bottom)
{
    log("scale", {left, top, right, bottom});
}

void FakeSurface::setFont(const SurfaceFont &font)
{
    Surface::setFont(font);
    log("font", {font.size});
}

std::vector<FakeSurface::Call> FakeSurface::callsOf(std::string_view op) const
{
    std::vector<Call> matching;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(matching),
                 [op](const Call &call) { return call.op == op; });
    return matching;
}

} // namespace quillet::testing
