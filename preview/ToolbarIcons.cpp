#include "preview/ToolbarIcons.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace quillet {

namespace {

constexpr int IconSize = 24;
constexpr QColor Ink(40, 40, 40);

template <typename Draw> QIcon drawnIcon(Draw &&draw)
{
    QIcon icon;
    for (const int scale : {1, 2}) {
        QPixmap pixmap(IconSize * scale, IconSize * scale);
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
    return drawnIcon([](QPainter &painter) {
        painter.setPen(QPen(QColor(180, 40, 40), 3.2, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(6, 6), QPointF(18, 18));
        painter.drawLine(QPointF(18, 6), QPointF(6, 18));
    });
}

QIcon printIcon()
{
    return drawnIcon(drawPrinter);
}

QIcon printerSetupIcon()
{
    return drawnIcon([](QPainter &painter) {
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
}

QIcon findIcon()
{
    return drawnIcon([](QPainter &painter) { drawLens(painter, QPointF(10, 10), 6.5); });
}

} // namespace quillet
