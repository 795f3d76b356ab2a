#pragma once
// The page picture of the preview: shows the page image that the commands
// draw on. A repaint shows the kept image; nothing is drawn again.

#include <QWidget>

namespace quillet {

class ImageSurface;

class PageView : public QWidget {
    Q_OBJECT
public:
    PageView(const ImageSurface &page, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const ImageSurface &m_page;
};

} // namespace quillet
