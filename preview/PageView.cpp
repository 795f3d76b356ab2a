#include "preview/PageView.h"

#include "platform/ImageSurface.h"

#include <QPainter>

namespace quillet {

PageView::PageView(const ImageSurface &page, QWidget *parent) : QWidget(parent), m_page(page)
{
    setObjectName(QStringLiteral("PRT"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PageView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(QPoint(0, 0), m_page.image());
}

} // namespace quillet
