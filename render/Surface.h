#pragma once
// The drawing surface every command draws on: the preview page image or the
// printer. Positions and sizes are millimetres from the corner of the printer's
// printable area; font sizes are points; pen widths are device pixels.

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

/// A picture registered by the host; only its natural size is needed here.
class Picture {
public:
    virtual ~Picture() = default;
    virtual float widthMm() const = 0;
    virtual float heightMm() const = 0;
};

struct SurfaceFont {
    std::string name = "Times New Roman";
    float size = 12; ///< points; the preview multiplies it by the zoom
    bool bold = false;
    bool italic = false;
    bool transparent = true; ///< false paints the text's background

    bool operator==(const SurfaceFont &) const = default;
};

/// Colours are 0xBBGGRR.
struct SurfacePen {
    int foreColor = 0;
    int fillColor = 0;
    int fillStyle = 1; ///< 0 solid, 1 none, 2..7 hatches
    int drawWidth = 1; ///< device pixels
    int drawStyle = 0; ///< 0 solid .. 6 inside solid
    int drawMode = 13; ///< 13 copy pen
};

enum class LineKind {
    Line = 4,        ///< segment (x1, y1) to (x2, y2)
    Box = 20,        ///< rectangle with corners (x1, y1), (x2, y2), outlined and filled
    BoxRelative = 28 ///< rectangle from (x1, y1) over (x2, y2) as width and height
};

class Surface {
public:
    virtual ~Surface() = default;

    float currentX() const { return m_currentX; }
    float currentY() const { return m_currentY; }
    void setCurrentX(float x) { m_currentX = x; }
    void setCurrentY(float y) { m_currentY = y; }

    const SurfaceFont &font() const { return m_font; }
    /// Takes the font as the device can render it: an unknown name falls back
    /// to the default family, a size <= 0 keeps the size in force.
    virtual void setFont(const SurfaceFont &font);

    const SurfacePen &pen() const { return m_pen; }
    SurfacePen &pen() { return m_pen; }

    /// Draws UTF-8 text at the current position, its top at currentY; moves
    /// currentX to the end of the text.
    virtual void print(std::string_view text) = 0;
    virtual float textWidth(std::string_view text) const = 0;
    /// Widths of the text's first 1, 2, ... characters (code points), in one
    /// pass; stops after the first prefix wider than stopAfterMm. Devices
    /// must return exactly what textWidth gives for each prefix.
    virtual std::vector<float> prefixWidths(std::string_view text,
                                            float stopAfterMm = std::numeric_limits<float>::infinity()) const;
    /// For a device whose text width is the sum of its characters' advances:
    /// the width as a whole number of the device's own units, which depend on
    /// the device and its font only, so that widths add up without rounding.
    /// Nothing from a device whose widths do not add up exactly.
    virtual std::optional<int64_t> widthUnits(std::string_view) const { return std::nullopt; }
    /// What textWidth gives for a text of that many units, on a device whose
    /// widthUnits answers.
    virtual float widthMmOfUnits(int64_t) const { return 0; }
    /// Height of one line of the current font.
    virtual float textHeight(std::string_view text) const = 0;
    virtual float fontAscent() const = 0;
    virtual float fontDescent() const = 0;

    virtual void line(LineKind kind, float x1, float y1, float x2, float y2) = 0;
    virtual void circle(float x, float y, float radius) = 0;
    /// A rectangle filled with one colour (0xBBGGRR), no outline, whatever
    /// the pen and fill. A device with pixels puts its edges on whole pixels,
    /// so that rectangles side by side differ by at most one pixel, and draws
    /// one under a pixel wide or high as one pixel.
    virtual void fillRect(float x, float y, float width, float height, int color);
    /// Natural size when width or height is negative.
    virtual void paintPicture(const Picture &picture, float x, float y, float width = -1,
                              float height = -1) = 0;

    /// Maps the page so that (left, top) and (right, bottom) are its corners in
    /// millimetres; the printer is always mapped this way and may ignore it.
    virtual void setScale(float left, float top, float right, float bottom) = 0;

protected:
    SurfaceFont m_font;
    SurfacePen m_pen;

private:
    float m_currentX = 0;
    float m_currentY = 0;
};

} // namespace quillet
