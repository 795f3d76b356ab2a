#include "base/ErrorsIgnored.h"
#include "preview/PageDesk.h"
#include "preview/PageView.h"
#include "preview/PreviewLayout.h"
#include "preview/PreviewWindow.h"
#include "preview/ZoomBox.h"
#include "render/PrinterDevice.h"
#include "widgets/SelectAllText.h"

#include <QWheelEvent>

namespace quillet {

using namespace preview_layout;

void PreviewWindow::fitZoomToDesk()
{
    const PrinterDevice *printer = m_listing->printer;
    if (!printer)
        return;
    const PrinterPage paper = printer->page();
    const qint64 deskWidthTwips = qint64(m_desk->width()) * TwipsPerPixel;
    const qint64 deskHeightTwips = qint64(m_desk->height()) * TwipsPerPixel;
    int percent = FitFromPercent;
    while (percent >= FitDownToPercent && !(qint64(percent) * paper.paperWidthTwips / 100 < deskWidthTwips &&
                                            qint64(percent) * paper.paperHeightTwips / 100 < deskHeightTwips))
        --percent;
    // Nothing fits: the count has run out at 9 %.
    listing().Zoom = static_cast<float>(percent) / 100;
    m_zoomBox->setPercent(percent);
    SelectAllText(*m_zoomBox);
}

void PreviewWindow::applyZoom(float zoom)
{
    ListingState &s = listing();
    if (zoom == s.Zoom)
        return;
    s.Zoom = zoom;
    DIMWINDOW();
}

void PreviewWindow::zoomStep(Qt::MouseButton button)
{
    if (button != Qt::LeftButton && button != Qt::RightButton) {
        m_lastZoomButton = Qt::NoButton;
        return;
    }
    if (stepZoom(button == Qt::RightButton))
        m_lastZoomButton = button;
}

bool PreviewWindow::stepZoom(bool zoomIn)
{
    ListingState &s = listing();
    if (zoomIn) {
        if (s.Zoom == MaxZoom)
            return false;
        if (m_zoomBox->value() < MaxPercent)
            m_zoomBox->setPercent(m_zoomBox->value() + ZoomStepPercent);
        if (m_zoomBox->value() > MaxPercent)
            m_zoomBox->setPercent(MaxPercent);
    } else {
        if (s.Zoom == MinZoom)
            return false;
        if (m_zoomBox->value() > MinPercent)
            m_zoomBox->setPercent(m_zoomBox->value() - ZoomStepPercent);
        if (m_zoomBox->value() < MinPercent)
            m_zoomBox->setPercent(MinPercent);
    }
    s.Zoom = static_cast<float>(m_zoomBox->value()) / 100;
    DIMWINDOW();
    m_desk->pageView().update();
    return true;
}

void PreviewWindow::fitPageToWindow()
{
    fitZoomToDesk();
    DIMWINDOW();
}

void PreviewWindow::repeatZoomStep()
{
    zoomStep(m_lastZoomButton);
    m_lastZoomButton = Qt::NoButton;
}

void PreviewWindow::wheelEvent(QWheelEvent *event)
{
    ignoringErrors([&] {
        const int angle = event->angleDelta().y();
        if (angle == 0) {
            event->ignore();
            return;
        }
        if (event->modifiers() & Qt::ControlModifier)
            stepZoom(angle > 0);
        else
            scrollOrTurnPage(angle);
        event->accept();
    });
}

void PreviewWindow::scrollOrTurnPage(int wheelAngle)
{
    if (m_desk->scrollByWheel(wheelAngle))
        return;
    // Past the page's edge: on to the next page from its top, or back to
    // the previous one at its bottom.
    const bool down = wheelAngle < 0;
    const int page = listing().CurPage + (down ? 1 : -1);
    if (page < 1 || page > listing().NumPages)
        return;
    showPage(page);
    m_desk->scrollToEdge(down ? Qt::TopEdge : Qt::BottomEdge);
}

} // namespace quillet
