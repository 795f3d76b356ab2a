#include "preview/ToolbarIcons.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace quillet {

namespace {

constexpr int IconSize = 24;
constexpr QColor Ink(40, 40, 40);

// Each icon is drawn once per process: fresh pixmaps for every window would
// each take a new entry in Qt's pixmap cache, which keeps up to 10 MB of them.
template <typename Draw> QIcon drawnIcon(Draw &&draw)
{
    QIcon icon;
    // Drawn for 100 %, 150 % and 200 %: a scaled picture would blur.
    for (const qreal scale : {1.0, 1.5, 2.0}) {
        const int side = qRound(IconSize * scale);
        QPixmap pixmap(side, side);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Ink, 1.5));
        draw(painter);
        icon.addPixmap(pixmap);
    }
    return icon;
}

void drawPrinter(QPainter &painter)
{
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(7, 2.5, 10, 6)); // paper going in
    painter.setBrush(QColor(150, 150, 160));
    painter.drawRoundedRect(QRectF(2.5, 8.5, 19, 9), 2, 2);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(6.5, 14.5, 11, 7)); // printed sheet
    painter.setPen(QPen(Ink, 1));
    painter.drawLine(QPointF(8.5, 17), QPointF(15.5, 17));
    painter.drawLine(QPointF(8.5, 19), QPointF(13.5, 19));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(60, 180, 75));
    painter.drawEllipse(QPointF(18.5, 11), 1, 1);
}

void drawLens(QPainter &painter, QPointF centre, qreal radius)
{
    painter.setPen(QPen(Ink, 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre + QPointF(radius * 0.7, radius * 0.7),
                     centre + QPointF(radius * 1.8, radius * 1.8));
    painter.setPen(QPen(Ink, 1.8));
    painter.setBrush(QColor(210, 230, 250));
    painter.drawEllipse(centre, radius, radius);
}

} // namespace

QIcon closeIcon()
{
    static const QIcon icon = drawnIcon([](QPainter &painter) {
        painter.setPen(QPen(QColor(180, 40, 40), 3.2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(6, 6), QPointF(18, 18));
        painter.drawLine(QPointF(18, 6), QPointF(6, 18));
    });
    return icon;
}

QIcon printIcon()
{
    static const QIcon icon = drawnIcon(drawPrinter);
    return icon;
}

QIcon printerSetupIcon()
{
    static const QIcon icon = drawnIcon([](QPainter &painter) {
        painter.save();
        painter.scale(0.8, 0.8);
        drawPrinter(painter);
        painter.restore();
        // A dial with four notches at the lower right.
        const QPointF centre(18, 18);
        painter.setPen(QPen(Ink, 2.2, Qt::SolidLine, Qt::RoundCap));
        for (int notch = 0; notch < 8; ++notch) {
            QTransform turn;
            turn.translate(centre.x(), centre.y()).rotate(notch * 45);
            painter.drawLine(turn.map(QPointF(0, 3.5)), turn.map(QPointF(0, 5.2)));
        }
        painter.setPen(QPen(Ink, 1.5));
        painter.setBrush(QColor(230, 200, 90));
        painter.drawEllipse(centre, 3.5, 3.5);
    });
    return icon;
}

QIcon findIcon()
{
    static const QIcon icon = drawnIcon([](QPainter &painter) { drawLens(painter, QPointF(10, 10), 6.5); });
    return icon;
}

QIcon pdfIcon()
{
    static const QIcon icon = drawnIcon([](QPainter &painter) {
        painter.setBrush(Qt::white);
        painter.drawPolygon(QPolygonF({QPointF(5.5, 2.5), QPointF(15, 2.5), QPointF(19.5, 7),
                                       QPointF(19.5, 21.5), QPointF(5.5, 21.5)}));
        // A red label across the sheet, wide enough for its three letters.
        const QRectF label(1, 10, 22, 9);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(190, 30, 30));
        painter.drawRoundedRect(label, 1.5, 1.5);
        QFont font = painter.font();
        font.setPixelSize(8);
        font.setBold(true);
        font.setStretch(QFont::SemiCondensed);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(label, Qt::AlignCenter, QStringLiteral("PDF"));
    });
    return icon;
}

QIcon thumbnailsIcon()
{
    static const QIcon icon = drawnIcon([](QPainter &painter) {
        painter.setBrush(Qt::white);
        for (const qreal top : {2.5, 9.5, 16.5})
            painter.drawRect(QRectF(3.5, top, 6, 5));
        painter.setBrush(QColor(210, 230, 250));
        painter.drawRect(QRectF(12.5, 2.5, 9, 19));
    });
    return icon;
}

} // namespace quillet
