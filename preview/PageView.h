#pragma once
// PRT, the page picture of the preview: shows the page image kept by the page
// surface. The image is drawn once per page or size; a repaint only copies it.

#include <QList>
#include <QRectF>
#include <QWidget>

namespace quillet {

class ImageSurface;

class PageView : public QWidget {
    Q_OBJECT
public:
    PageView(const ImageSurface &page, QWidget *parent);

    /// The page image no longer matches the page (new size): the next paint
    /// asks for it to be drawn again.
    void invalidate() { m_stale = true; }
    bool isStale() const { return m_stale; }
    /// The image has just been drawn for the page on view.
    void markRendered() { m_stale = false; }

    /// Boxes drawn translucent over the page, in the page's pixels: the texts
    /// a find has found; the current one stands out. None after clear.
    void setHighlights(QList<QRectF> boxes, int current);
    const QList<QRectF> &highlights() const { return m_highlights; }
    int currentHighlight() const { return m_currentHighlight; }

signals:
    /// A paint found the image stale; the page must be drawn now.
    void renderRequested();
    void pressed(Qt::MouseButton button);
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    const ImageSurface &m_page;
    bool m_stale = true;
    QList<QRectF> m_highlights;
    int m_currentHighlight = -1;
};

} // namespace quillet
