#include "preview/PageView.h"

#include "base/ErrorsIgnored.h"
#include "platform/ImageSurface.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>

namespace quillet {

namespace {

constexpr int CursorSize = 32;
constexpr QPoint LensCentre(9, 8);
constexpr int LensRadius = 7;
constexpr int FocusFrameWidth = 2;

/// A magnifying glass: a white lens with a black rim and a handle down to the
/// right; the hot spot is the centre of the lens.
QCursor magnifierCursor()
{
    QBitmap shape(CursorSize, CursorSize);
    QBitmap mask(CursorSize, CursorSize);
    shape.fill(Qt::color0);
    mask.fill(Qt::color0);
    const QPoint handleStart = LensCentre + QPoint(5, 5);
    const QPoint handleEnd = LensCentre + QPoint(13, 13);
    for (QBitmap *bitmap : {&shape, &mask}) {
        QPainter painter(bitmap);
        painter.setPen(QPen(Qt::color1, 3, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(bitmap == &mask ? Qt::color1 : Qt::color0);
        painter.drawEllipse(LensCentre, LensRadius, LensRadius);
        painter.setPen(QPen(Qt::color1, 4, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(handleStart, handleEnd);
    }
    return QCursor(shape, mask, LensCentre.x(), LensCentre.y());
}

} // namespace

PageView::PageView(const ImageSurface &page, QWidget *parent) : QWidget(parent), m_page(page)
{
    setObjectName(QStringLiteral("PRT"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(magnifierCursor());
}

void PageView::paintEvent(QPaintEvent *)
{
    ignoringErrors([&] {
        if (m_stale)
            emit renderRequested();
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.drawImage(QPoint(0, 0), m_page.image());
        painter.setPen(Qt::NoPen);
        for (qsizetype i = 0; i < m_highlights.size(); ++i) {
            painter.setBrush(i == m_currentHighlight ? QColor(255, 140, 0, 110) : QColor(255, 225, 0, 90));
            painter.drawRect(m_highlights[i]);
        }
        if (hasFocus()) {
            // A frame only: a style's focus rectangle may tint the whole page.
            painter.setPen(QPen(palette().color(QPalette::Highlight), FocusFrameWidth));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
        }
    });
}

void PageView::setHighlights(QList<QRectF> boxes, int current)
{
    m_highlights = std::move(boxes);
    m_currentHighlight = current;
    update();
}

void PageView::mousePressEvent(QMouseEvent *event)
{
    ignoringErrors([&] { emit pressed(event->button()); });
}

void PageView::focusInEvent(QFocusEvent *)
{
    ignoringErrors([&] { update(); });
}

void PageView::focusOutEvent(QFocusEvent *)
{
    ignoringErrors([&] { update(); });
}

void PageView::mouseDoubleClickEvent(QMouseEvent *)
{
    ignoringErrors([&] { emit doubleClicked(); });
}

} // namespace quillet
