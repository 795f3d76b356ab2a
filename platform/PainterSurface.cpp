#include "platform/PainterSurface.h"

#include "platform/FontFace.h"
#include "platform/ImagePicture.h"

#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace quillet {

namespace {

/// Beyond this any coordinate is a mistake: the largest paper is 3.3 m.
constexpr qreal MaxCoordinateMm = 10000;
/// Letters larger than this are not drawn larger (the printer's limit is 2160 pt).
constexpr qreal MaxFontSizeMm = 800;
constexpr qreal MmPerPoint = 25.4 / 72;
constexpr int MaxDrawWidthPixels = 10000;
constexpr qreal MmPerPatternPixel = 25.4 / 96;
constexpr std::size_t SizedFontCacheSize = 32;
constexpr int XorPenMode = 7;
constexpr int InsideSolidStyle = 6;

bool isUsable(std::initializer_list<float> values)
{
    return std::all_of(values.begin(), values.end(),
                       [](float v) { return std::isfinite(v) && std::abs(v) <= MaxCoordinateMm; });
}

/// 0xBBGGRR to a colour.
QColor toColor(int bgr)
{
    return QColor(bgr & 0xff, (bgr >> 8) & 0xff, (bgr >> 16) & 0xff);
}

Qt::PenStyle toPenStyle(int drawStyle)
{
    static constexpr std::array<Qt::PenStyle, 7> styles{Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                                        Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen,
                                                        Qt::SolidLine};
    return drawStyle >= 0 && drawStyle < int(styles.size()) ? styles[drawStyle] : Qt::SolidLine;
}

Qt::BrushStyle toBrushStyle(int fillStyle)
{
    static constexpr std::array<Qt::BrushStyle, 8> styles{
        Qt::SolidPattern, Qt::NoBrush,      Qt::HorPattern,   Qt::VerPattern,
        Qt::BDiagPattern, Qt::FDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    return fillStyle >= 0 && fillStyle < int(styles.size()) ? styles[fillStyle] : Qt::NoBrush;
}

/// Device pixels per millimetre along the page's vertical.
qreal pixelsPerMm(const QPainter &painter)
{
    const QTransform &t = painter.worldTransform();
    return std::hypot(t.m21(), t.m22());
}

/// The PDF engine keeps glyph positions in 64ths of a pixel and writes each
/// glyph's advance from the one before. Advances rounded one by one, instead
/// of positions, move the pen by the same amount for the same glyph each
/// time, which the file's compression finds; at 1200 dpi the drift stays
/// under a hundredth of a millimetre in a line of a hundred glyphs.
void roundAdvances(QList<QPointF> &positions, QPointF origin)
{
    const auto outward = [](qreal v) { return v + std::copysign(1.0 / 128, v); };
    const auto round = [](QPointF p) { return QPointF(std::round(p.x() * 64) / 64, std::round(p.y() * 64) / 64); };
    QPointF exactBefore;
    QPointF roundedBefore;
    for (qsizetype i = 0; i < positions.size(); ++i) {
        const QPointF exact = origin + positions[i];
        const QPointF rounded = i == 0 ? round(exact) : roundedBefore + round(exact - exactBefore);
        exactBefore = exact;
        roundedBefore = rounded;
        // Qt cuts positions to 64ths toward zero: half a 64th further out
        // lands on the rounded one whatever the last bit of the sum.
        positions[i] = QPointF(outward(rounded.x()), outward(rounded.y())) - origin;
    }
}

/// Puts transform on the painter unless it is there already: every change,
/// even to the same matrix, makes the PDF engine write the graphics state again.
void useTransform(QPainter &painter, const QTransform &transform)
{
    if (painter.worldTransform() != transform)
        painter.setWorldTransform(transform);
}

} // namespace

PainterSurface::PainterSurface()
{
    m_face = FontFace::find(QString::fromStdString(m_font.name), m_font.bold, m_font.italic);
}

PainterSurface::~PainterSurface() = default;

void PainterSurface::setFont(const SurfaceFont &font)
{
    SurfaceFont wanted = font;
    if (wanted.name.empty())
        wanted.name = m_font.name;
    Surface::setFont(wanted);
    const QString family = QString::fromStdString(m_font.name);
    if (!FontFace::isKnownFamily(family))
        m_font.name = FontFace::defaultFamily().toStdString();
    m_face = FontFace::find(QString::fromStdString(m_font.name), m_font.bold, m_font.italic);
}

qreal PainterSurface::fontSizeMm() const
{
    const qreal zoom = fontZoom();
    const qreal sizeMm = m_font.size * MmPerPoint / (zoom > 0 ? zoom : 1);
    return std::isfinite(sizeMm) ? std::clamp(sizeMm, 0.0, MaxFontSizeMm) : MaxFontSizeMm;
}

float PainterSurface::textWidth(std::string_view text) const
{
    return m_face ? static_cast<float>(m_face->widthEm(text) * fontSizeMm()) : 0.0f;
}

std::optional<int64_t> PainterSurface::widthUnits(std::string_view text) const
{
    return m_face ? m_face->widthUnits(text) : std::nullopt;
}

float PainterSurface::widthMmOfUnits(int64_t units) const
{
    return static_cast<float>(FontFace::emOfUnits(units) * fontSizeMm());
}

std::vector<float> PainterSurface::prefixWidths(std::string_view text, float stopAfterMm) const
{
    // Measure a growing start of the text: cutting a long text to a line
    // usually needs its first few hundred characters only.
    for (size_t bytes = 512;; bytes *= 2) {
        if (bytes >= text.size())
            return measurePrefixWidths(text, stopAfterMm);
        size_t cut = bytes;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut; // at the start of a character
        const std::vector<float> widths = measurePrefixWidths(text.substr(0, cut), stopAfterMm);
        if (!widths.empty() && widths.back() > stopAfterMm)
            return widths;
    }
}

std::vector<float> PainterSurface::measurePrefixWidths(std::string_view text, float stopAfterMm) const
{
    const std::vector<qreal> widthsEm = m_face ? m_face->prefixWidthsEm(text) : std::vector<qreal>();
    if (widthsEm.empty())
        return Surface::prefixWidths(text, stopAfterMm);
    const qreal sizeMm = fontSizeMm();
    std::vector<float> widths;
    for (qreal widthEm : widthsEm) {
        widths.push_back(static_cast<float>(widthEm * sizeMm));
        if (widths.back() > stopAfterMm)
            break;
    }
    return widths;
}

float PainterSurface::textHeight(std::string_view) const
{
    return fontAscent() + fontDescent();
}

float PainterSurface::fontAscent() const
{
    return m_face ? static_cast<float>(m_face->ascentEm() * fontSizeMm()) : 0.0f;
}

float PainterSurface::fontDescent() const
{
    return m_face ? static_cast<float>(m_face->descentEm() * fontSizeMm()) : 0.0f;
}

void PainterSurface::print(std::string_view text)
{
    if (!m_face)
        return;
    const float x = currentX();
    const float y = currentY();
    if (!isUsable({x, y}))
        return;
    const qreal sizeMm = fontSizeMm();
    QTransform pageTransform;
    QPainter *painter = beginDrawing(pageTransform);
    if (!painter) {
        // The advance alone: the layout's width is this same sum of advances.
        setCurrentX(static_cast<float>(x + m_face->widthEm(text) * sizeMm));
        return;
    }
    const TextLayoutEm layout = m_face->layout(printableText(text));
    const qreal widthMm = layout.widthEm * sizeMm;
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!m_font.transparent) {
        // In device pixels where the page is upright, as the glyphs are
        // drawn: the painter keeps one transform from text to text.
        const QRectF background(x, y, widthMm, (m_face->ascentEm() + m_face->descentEm()) * sizeMm);
        const bool upright = !pageTransform.isRotating();
        useTransform(*painter, upright ? QTransform() : pageTransform);
        painter->fillRect(upright ? pageTransform.mapRect(background) : background, Qt::white);
    }
    // Glyphs are filled with the pen's colour alone: a line's pen of that
    // colour serves, and the PDF then does not switch pens back and forth.
    const QColor color = toColor(m_pen.foreColor);
    if (painter->pen().style() == Qt::NoPen || painter->pen().color() != color)
        painter->setPen(color);
    drawGlyphs(*painter, pageTransform, layout, x, y + m_face->ascentEm() * sizeMm);
    setCurrentX(static_cast<float>(x + widthMm));
}

QPainter *PainterSurface::drawingInMm()
{
    QTransform mmToDevice;
    QPainter *painter = beginDrawing(mmToDevice);
    if (painter)
        useTransform(*painter, mmToDevice);
    return painter;
}

void PainterSurface::drawGlyphs(QPainter &painter, const QTransform &pageTransform, const TextLayoutEm &layout,
                                qreal x, qreal baselineY)
{
    // Pixels per millimetre across and down the text, and the turn of a page
    // placed on a sheet: a quarter, a half or none.
    const qreal across = std::hypot(pageTransform.m11(), pageTransform.m12());
    const qreal down = std::hypot(pageTransform.m21(), pageTransform.m22());
    if (layout.runs.empty() || !(pageTransform.determinant() > 0) || !(across > 0) || !(down > 0))
        return;
    const QTransform turn(pageTransform.m11() / across, pageTransform.m12() / across,
                          pageTransform.m21() / down, pageTransform.m22() / down, 0, 0);
    // Glyphs are placed in device pixels, where a font's pixel size can be
    // fractional; a painter scaled to millimetres would round it. With no
    // transform at all the raster engine uses its glyph cache, and the PDF
    // engine writes no matrix of its own for each text.
    const QPointF origin = pageTransform.map(QPointF(x, baselineY));
    useTransform(painter, turn.isIdentity() ? QTransform() : turn * QTransform::fromTranslate(origin.x(), origin.y()));
    const QPointF runOrigin = turn.isIdentity() ? origin : QPointF();
    const qreal sizeMm = fontSizeMm();
    const qreal pixelSize = sizeMm * down;
    const QPointF emToPixels(sizeMm * across, pixelSize);
    const bool intoPdf = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Pdf;
    for (const GlyphRunEm &run : layout.runs) {
        QList<QPointF> positions;
        positions.reserve(run.positionsEm.size());
        for (const QPointF &positionEm : run.positionsEm)
            positions.append(QPointF(positionEm.x() * emToPixels.x(), positionEm.y() * emToPixels.y()));
        if (intoPdf)
            roundAdvances(positions, runOrigin);
        QGlyphRun glyphs;
        glyphs.setRawFont(sizedFont(run.font, pixelSize));
        glyphs.setGlyphIndexes(run.glyphs);
        glyphs.setPositions(positions);
        painter.drawGlyphRun(runOrigin, glyphs);
    }
}

const QRawFont &PainterSurface::sizedFont(const QRawFont &reference, qreal pixelSize)
{
    const auto cached = std::find_if(m_sizedFonts.begin(), m_sizedFonts.end(), [&](const SizedFont &entry) {
        return entry.pixelSize == pixelSize && entry.reference == reference;
    });
    if (cached != m_sizedFonts.end())
        return cached->font;
    if (m_sizedFonts.size() >= SizedFontCacheSize)
        m_sizedFonts.clear();
    QRawFont font = reference;
    font.setPixelSize(pixelSize);
    m_sizedFonts.push_back({reference, pixelSize, font});
    return m_sizedFonts.back().font;
}

void PainterSurface::preparePen(QPainter &painter) const
{
    QPen pen(toColor(m_pen.foreColor), std::clamp(m_pen.drawWidth, 1, MaxDrawWidthPixels),
             toPenStyle(m_pen.drawStyle), Qt::RoundCap, Qt::RoundJoin);
    pen.setCosmetic(true); // widths are device pixels
    painter.setPen(pen);
    // Hatches keep their spacing in millimetres, one pattern pixel being a
    // pixel at 96 dpi, so that paper shows what the preview shows at 100 %.
    QBrush brush(toColor(m_pen.fillColor), toBrushStyle(m_pen.fillStyle));
    brush.setTransform(QTransform::fromScale(MmPerPatternPixel, MmPerPatternPixel));
    painter.setBrush(brush);
    painter.setRenderHint(QPainter::NonCosmeticBrushPatterns);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false); // crisp hatch lines
    const bool xor_ = m_pen.drawMode == XorPenMode && painter.paintEngine() &&
                      painter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    painter.setCompositionMode(xor_ ? QPainter::RasterOp_SourceXorDestination
                                    : QPainter::CompositionMode_SourceOver);
}

QRectF PainterSurface::outlineRect(const QPainter &painter, const QRectF &box) const
{
    if (m_pen.drawStyle != InsideSolidStyle)
        return box;
    const qreal halfWidthMm = painter.pen().widthF() / pixelsPerMm(painter) / 2;
    const qreal inset = std::min({halfWidthMm, box.width() / 2, box.height() / 2});
    return box.adjusted(inset, inset, -inset, -inset);
}

void PainterSurface::line(LineKind kind, float x1, float y1, float x2, float y2)
{
    if (!isUsable({x1, y1, x2, y2}))
        return;
    QPainter *painter = drawingInMm();
    if (!painter)
        return;
    preparePen(*painter);
    switch (kind) {
    case LineKind::Line:
        painter->drawLine(QLineF(x1, y1, x2, y2));
        break;
    case LineKind::Box:
        painter->drawRect(outlineRect(*painter, QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized()));
        break;
    case LineKind::BoxRelative:
        painter->drawRect(outlineRect(*painter, QRectF(x1, y1, x2, y2).normalized()));
        break;
    }
}

void PainterSurface::circle(float x, float y, float radius)
{
    if (!isUsable({x, y, radius}) || radius < 0)
        return;
    QPainter *painter = drawingInMm();
    if (!painter)
        return;
    preparePen(*painter);
    const QRectF box = outlineRect(*painter, QRectF(x - radius, y - radius, 2 * radius, 2 * radius));
    painter->drawEllipse(box);
}

void PainterSurface::fillRect(float x, float y, float width, float height, int color)
{
    if (!isUsable({x, y, width, height}) || !(width > 0) || !(height > 0))
        return;
    QTransform pageTransform;
    QPainter *painter = beginDrawing(pageTransform);
    if (!painter)
        return;
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QRectF mm(x, y, width, height);
    if (pageTransform.isRotating()) {
        useTransform(*painter, pageTransform);
        painter->fillRect(mm, toColor(color));
        return;
    }
    // Each edge rounded on its own: rectangles that share an edge in
    // millimetres share it in pixels, so no gap or overlap opens between them.
    const QRectF device = pageTransform.mapRect(mm);
    QRectF snapped(QPointF(std::round(device.left()), std::round(device.top())),
                   QPointF(std::round(device.right()), std::round(device.bottom())));
    // Under a pixel wide it would vanish (a thin bar at a small zoom): a pixel it is.
    snapped.setWidth(std::max(snapped.width(), 1.0));
    snapped.setHeight(std::max(snapped.height(), 1.0));
    useTransform(*painter, QTransform());
    painter->fillRect(snapped, toColor(color));
}

void PainterSurface::paintPicture(const Picture &picture, float x, float y, float width, float height)
{
    const auto *image = dynamic_cast<const ImagePicture *>(&picture);
    if (!image || image->image().isNull() || !std::isfinite(width) || !std::isfinite(height))
        return;
    const float widthMm = width < 0 ? picture.widthMm() : width;
    const float heightMm = height < 0 ? picture.heightMm() : height;
    if (!isUsable({x, y, widthMm, heightMm}))
        return;
    if (QPainter *painter = drawingInMm()) {
        painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(QRectF(x, y, widthMm, heightMm), image->image());
    }
}

void PainterSurface::setScale(float, float, float, float) {}

} // namespace quillet
