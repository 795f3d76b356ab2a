#include "widgets/PaintPattern.h"

#include "widgets/EventHook.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace quillet {

namespace {

constexpr int TileSize = 8;
constexpr QRgb Silver = qRgb(192, 192, 192);
constexpr QRgb White = qRgb(255, 255, 255);
constexpr QRgb DisabledText = qRgb(80, 80, 80);

QPixmap makeTile()
{
    QImage tile(TileSize, TileSize, QImage::Format_RGB32);
    for (int y = 0; y < TileSize; ++y)
        for (int x = 0; x < TileSize; ++x)
            tile.setPixel(x, y, y % 2 == 1 && x % 2 == 0 ? White : Silver);
    return QPixmap::fromImage(tile);
}

} // namespace

const QPixmap &patternTile()
{
    static const QPixmap tile = makeTile();
    return tile;
}

void PaintPattern(QWidget &target)
{
    QPainter painter(&target);
    painter.fillRect(target.rect(), QBrush(patternTile())); // the brush lives for this paint only
}

void installPatternBackground(QWidget &form)
{
    QPalette palette = form.palette();
    palette.setColor(QPalette::Window, QColor(Silver));
    // Disabled captions stay readable on the pattern: darker grey, no etched light copy.
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        palette.setColor(QPalette::Disabled, role, QColor(DisabledText));
    palette.setColor(QPalette::Disabled, QPalette::Light, QColor(Silver));
    form.setPalette(palette);
    form.setAutoFillBackground(true);
    // Inside the form's paint event, before the form draws itself.
    onEvent(form, QEvent::Paint, [&form] { PaintPattern(form); });
}

} // namespace quillet
