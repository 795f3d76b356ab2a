#include "preview/PageLabel.h"

#include "base/ErrorsIgnored.h"

#include <QPainter>
#include <QStyle>

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
        style()->drawItemText(&painter, contentsRect(), Qt::AlignCenter, palette(), isEnabled(), m_text,
                              QPalette::WindowText);
    });
}

} // namespace quillet
