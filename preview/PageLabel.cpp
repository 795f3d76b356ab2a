#include "preview/PageLabel.h"

#include "base/ErrorsIgnored.h"

#include <QPainter>

namespace quillet {

PageLabel::PageLabel(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("LPag"));
}

void PageLabel::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(text);
    update();
}

void PageLabel::paintEvent(QPaintEvent *event)
{
    ignoringErrors([&] {
        QFrame::paintEvent(event);
        QPainter painter(this);
        painter.setPen(
            palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        painter.drawText(contentsRect(), Qt::AlignCenter, m_text);
    });
}

} // namespace quillet
