#pragma once
// PZoom, the zoom panel of the preview's toolbar: the caption and the zoom box
// ESC, and the zoom itself: typed in the box, stepped by 5 % with the mouse
// on the page, the keys or the wheel, or fitted to the desk. Zoom is the
// listing's; zoomChanged tells the window to size the page again.

#include <QFrame>

namespace quillet {

struct Session;
class ZoomBox;

class ZoomPanel : public QFrame {
    Q_OBJECT
public:
    ZoomPanel(Session &listing, QWidget *parent);

    /// The largest whole percent, from 100 % down, at which the paper fits
    /// inside desk; 9 % when none does. Writes it in the box with the text
    /// selected; the caller sizes the page.
    void fitTo(QSize desk);
    /// One step in or out as a mouse click makes it; false at the limit.
    bool step(bool zoomIn);
    /// A press on the page: the left button zooms out, the right one in,
    /// and a double click repeats the step.
    void stepFor(Qt::MouseButton button);
    void repeatStep();

    ZoomBox &box() const { return *m_zoomBox; }

signals:
    /// The listing's zoom changed: the page needs sizing again.
    void zoomChanged();

private:
    void applyZoom(float zoom);

    Session &m_listing;
    ZoomBox *m_zoomBox;
    /// The mouse step a double click repeats: Qt::LeftButton, Qt::RightButton or none.
    Qt::MouseButton m_lastZoomButton = Qt::NoButton;
};

} // namespace quillet
