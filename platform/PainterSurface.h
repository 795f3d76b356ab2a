#pragma once
// A drawing surface on a QPainter whose world transform maps millimetres to the
// device. Text is measured from the fonts' unhinted design metrics and drawn as
// glyph runs placed by those metrics, so a text takes the same number of
// millimetres on the screen at every zoom and on paper.
//
// Calls with a non-finite or absurd coordinate (beyond 10 m) draw nothing.

#include "render/Surface.h"

#include <QRawFont>

#include <memory>
#include <vector>

class QPainter;
class QRectF;
class QTransform;

namespace quillet {

class FontFace;
struct TextLayoutEm;

class PainterSurface : public Surface {
public:
    PainterSurface();
    ~PainterSurface() override;

    /// An empty name keeps the family in force; an unknown one becomes the default family.
    void setFont(const SurfaceFont &font) override;
    /// Invalid UTF-8 prints as replacement characters; control characters print as nothing.
    void print(std::string_view text) override;
    float textWidth(std::string_view text) const override;
    std::vector<float> prefixWidths(std::string_view text, float stopAfterMm) const override;
    /// For texts of the Latin characters the face has, summed without rounding.
    std::optional<int64_t> widthUnits(std::string_view text) const override;
    float widthMmOfUnits(int64_t units) const override;
    /// Ascent plus descent of the current font, whatever the text.
    float textHeight(std::string_view text) const override;
    float fontAscent() const override;
    float fontDescent() const override;

    void line(LineKind kind, float x1, float y1, float x2, float y2) override;
    /// A negative radius draws nothing.
    void circle(float x, float y, float radius) override;
    /// Edges rounded to whole device pixels (on screen and on the printer).
    void fillRect(float x, float y, float width, float height, int color) override;
    /// Draws an ImagePicture; other pictures have nothing to draw.
    void paintPicture(const Picture &picture, float x, float y, float width = -1, float height = -1) override;
    /// A printer maps its page once, from its printable corner: ignored here.
    void setScale(float left, float top, float right, float bottom) override;

protected:
    /// The painter for the next drawing, and in mmToDevice the page's map
    /// from millimetres to the device; null when nothing can be drawn now.
    /// The painter's own transform is left as the last drawing set it.
    virtual QPainter *beginDrawing(QTransform &mmToDevice) = 0;
    /// How much larger the font sizes given are than the fonts' real sizes:
    /// the preview's zoom, 1 on paper.
    virtual qreal fontZoom() const { return 1; }

private:
    /// prefixWidths of the whole of text, in one pass.
    std::vector<float> measurePrefixWidths(std::string_view text, float stopAfterMm) const;
    qreal fontSizeMm() const;
    /// Sets pen, brush and raster mode for a shape from the pen state.
    void preparePen(QPainter &painter) const;
    /// The rectangle a box outline runs on; "inside" lines keep within the box.
    QRectF outlineRect(const QPainter &painter, const QRectF &box) const;
    /// beginDrawing's painter, its transform set to millimetres.
    QPainter *drawingInMm();
    void drawGlyphs(QPainter &painter, const QTransform &pageTransform, const TextLayoutEm &layout, qreal x,
                    qreal baselineY);
    const QRawFont &sizedFont(const QRawFont &reference, qreal pixelSize);

    std::shared_ptr<FontFace> m_face;
    struct SizedFont {
        QRawFont reference;
        qreal pixelSize;
        QRawFont font;
    };
    /// Faces at the pixel sizes recently drawn: making one is costly.
    std::vector<SizedFont> m_sizedFonts;
};

} // namespace quillet
