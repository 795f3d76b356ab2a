#pragma once
// wFUNDO, the preview's dotted desk, with the page on it: the white page form
// Assist holding the page picture PRT, and the scroll bars that move a page
// larger than the desk. The scroll bars are the window's own children, along
// the desk's right and bottom edges.

#include <QAbstractSlider>
#include <QWidget>

class QScrollBar;

namespace quillet {

class ImageSurface;
struct ListingState;
class PageView;
struct PrinterPage;

class PageDesk : public QWidget {
    Q_OBJECT
public:
    /// page is the surface the page is drawn on; window holds the desk.
    PageDesk(ImageSurface &page, QWidget &window);

    PageView &pageView() const { return *m_pageView; }

    /// Lays the desk out in area, less a scroll bar's thickness at the right
    /// and at the bottom, where the scroll bars go; both scroll back to 0.
    void layOut(const QRect &area);
    /// Sizes the page for the listing's zoom on sheet and places it: centred,
    /// or 200 twips in with its scroll bar when larger than the desk. Maps
    /// the sheet onto the page's picture, which is drawn again on its next
    /// paint when its size changed.
    void placePage(const PrinterPage &sheet, const ListingState &listing);
    /// Scrolls the page as the wheel turned; false when it already stands at
    /// that edge, or cannot scroll.
    bool scrollByWheel(int wheelAngle);
    /// Scrolls to the page's top or bottom edge.
    void scrollToEdge(Qt::Edge edge);
    /// Scrolls the way a key does, when the page can scroll that way.
    void scrollStep(Qt::Orientation orientation, QAbstractSlider::SliderAction action);
    /// Makes sure the page takes the mouse and keys again (after the find dialog).
    void enablePage();

private:
    void describeForAssistiveTools();
    void resizePageImage(QSize pixels);

    ImageSurface &m_page;
    QWidget *m_pageForm;
    PageView *m_pageView;
    QScrollBar *m_hScroll;
    QScrollBar *m_vScroll;
};

} // namespace quillet
