#pragma once
// A surface with fixed metrics that needs no fonts and logs every drawing call:
// every character (code point, or malformed byte) is 2 mm wide, a line is font size / 3 mm high (12 pt -> 4
// mm).

#include "render/Surface.h"

#include <string>
#include <vector>

namespace quillet::testing {

class FakeSurface : public Surface {
public:
    static constexpr float CharWidthMm = 2.0f;
    /// Line height in millimetres per point of font size.
    static constexpr float HeightMmPerPoint = 1.0f / 3.0f;

    /// One drawing call with the pen and font in force when it was made.
    struct Call {
        std::string op; ///< "print", "line", "circle", "picture", "scale" or "font"
        std::vector<float> args;
        std::string text;
        SurfacePen pen;
        SurfaceFont font;
    };
    std::vector<Call> calls;
    bool logging = true; ///< off for benchmarks, which would only grow the log

    /// args: x, y (the text's top-left corner).
    void print(std::string_view text) override;
    float textWidth(std::string_view text) const override;
    /// Linear: the fake's advances simply add up.
    std::vector<float> prefixWidths(std::string_view text, float stopAfterMm) const override;
    float textHeight(std::string_view text) const override;
    float fontAscent() const override;
    float fontDescent() const override;

    /// args: kind (as its LineKind value), x1, y1, x2, y2.
    void line(LineKind kind, float x1, float y1, float x2, float y2) override;
    /// args: x, y, radius.
    void circle(float x, float y, float radius) override;
    /// args: x, y, width, height as given.
    void paintPicture(const Picture &picture, float x, float y, float width = -1, float height = -1) override;
    /// args: left, top, right, bottom.
    void setScale(float left, float top, float right, float bottom) override;
    /// args: size asked for; the logged font is the one in force afterwards.
    void setFont(const SurfaceFont &font) override;

    /// The calls of one kind, in order.
    std::vector<Call> callsOf(std::string_view op) const;

private:
    void log(std::string op, std::vector<float> args, std::string_view text = {});
};

} // namespace quillet::testing
