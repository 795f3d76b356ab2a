#pragma once
// A surface with fixed metrics that needs no fonts and logs every drawing call:
// every character (code point, or malformed byte) is 2 mm wide, a line is font
// size / 3 mm high (12 pt -> 4 mm), 80 % of it above the baseline.

#include "render/Surface.h"
#include "render/Utf8.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace quillet::testing {

class FakeSurface : public Surface {
public:
    static constexpr float CharWidthMm = 2.0f;
    static constexpr float HeightMmPerPoint = 1.0f / 3.0f;

    /// One drawing call with the pen and font in force when it was made. args:
    /// print x, y of the top-left; line kind, x1, y1, x2, y2; circle x, y, r;
    /// picture x, y, w, h; scale left, top, right, bottom; font the size asked for.
    struct Call {
        std::string op;
        std::vector<float> args;
        std::string text;
        SurfacePen pen;
        SurfaceFont font;
    };
    std::vector<Call> calls;
    bool logging = true;             ///< off for benchmarks, which would only grow the log
    bool measuresEachPrefix = false; ///< prefixWidths through the base class, as the Qt surfaces do
    bool addsUpWidths = true;        ///< widthUnits answers (in characters); otherwise every text is measured

    void print(std::string_view text) override
    {
        log("print", {currentX(), currentY()}, text);
        setCurrentX(currentX() + textWidth(text));
    }
    float textWidth(std::string_view text) const override { return widthMmOfUnits(characterCount(text)); }
    std::optional<int64_t> widthUnits(std::string_view text) const override
    {
        return addsUpWidths ? std::optional<int64_t>(characterCount(text)) : std::nullopt;
    }
    float widthMmOfUnits(int64_t units) const override { return static_cast<float>(units) * CharWidthMm; }
    // Linear, and no further into the text than the first prefix too wide: the
    // fake's advances simply add up.
    std::vector<float> prefixWidths(std::string_view text, float stopAfterMm) const override
    {
        if (measuresEachPrefix)
            return Surface::prefixWidths(text, stopAfterMm);
        std::vector<float> widths;
        for (size_t offset = 0; offset < text.size() && (widths.empty() || widths.back() <= stopAfterMm);
             offset += characterLength(text, offset))
            widths.push_back(widthMmOfUnits(static_cast<int64_t>(widths.size()) + 1));
        return widths;
    }
    float textHeight(std::string_view) const override { return font().size * HeightMmPerPoint; }
    float fontAscent() const override { return 0.8f * textHeight({}); }
    float fontDescent() const override { return 0.2f * textHeight({}); }
    void line(LineKind kind, float x1, float y1, float x2, float y2) override
    {
        log("line", {static_cast<float>(kind), x1, y1, x2, y2});
    }
    void circle(float x, float y, float radius) override { log("circle", {x, y, radius}); }
    void paintPicture(const Picture &, float x, float y, float width = -1, float height = -1) override
    {
        log("picture", {x, y, width, height});
    }
    void setScale(float left, float top, float right, float bottom) override
    {
        log("scale", {left, top, right, bottom});
    }
    void setFont(const SurfaceFont &font) override
    {
        Surface::setFont(font);
        log("font", {font.size});
    }

    std::vector<Call> callsOf(std::string_view op) const
    {
        std::vector<Call> matching;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(matching),
                     [op](const Call &call) { return call.op == op; });
        return matching;
    }
    std::vector<std::string> texts() const
    {
        std::vector<std::string> printed;
        for (const Call &call : callsOf("print"))
            printed.push_back(call.text);
        return printed;
    }

private:
    static int64_t characterCount(std::string_view text)
    {
        int64_t count = 0;
        for (size_t offset = 0; offset < text.size(); offset += characterLength(text, offset))
            ++count;
        return count;
    }
    void log(std::string op, std::vector<float> args, std::string_view text = {})
    {
        if (logging)
            calls.push_back({std::move(op), std::move(args), std::string(text), pen(), font()});
    }
};

/// A picture of a fixed natural size, drawn without loading an image.
inline std::shared_ptr<const Picture> fakePicture(float widthMm, float heightMm)
{
    struct FakePicture : Picture {
        float w, h;
        FakePicture(float w, float h) : w(w), h(h) {}
        float widthMm() const override { return w; }
        float heightMm() const override { return h; }
    };
    return std::make_shared<FakePicture>(widthMm, heightMm);
}

} // namespace quillet::testing
