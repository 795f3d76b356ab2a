#include "preview/PageDesk.h"

#include "compose/ListingState.h"
#include "platform/ImageSurface.h"
#include "preview/PageView.h"
#include "preview/PreviewLayout.h"
#include "render/PrinterDevice.h"
#include "widgets/AccessibleText.h"
#include "widgets/PaintPattern.h"
#include "widgets/Translation.h"

#include <QApplication>
#include <QScrollBar>

namespace quillet {

using namespace preview_layout;

namespace {

/// Places the page along one direction of the desk: centred when it fits,
/// else 200 twips in, with the scroll bar reaching 200 twips past its far edge.
void placeAlong(QScrollBar &bar, int pageSize, int deskSize, int &position)
{
    if (pageSize > deskSize) {
        bar.setValue(0);
        const int maximum = pageSize - deskSize + 2 * PageMargin;
        if (maximum <= MaxScrollRange)
            bar.setRange(0, maximum);
        bar.setEnabled(true);
        position = PageMargin;
    } else {
        bar.setRange(0, 0); // no thumb that moves nothing
        bar.setEnabled(false);
        position = (deskSize - pageSize) / 2;
    }
}

} // namespace

PageDesk::PageDesk(ImageSurface &page, QWidget &window)
    : QWidget(&window), m_page(page), m_pageForm(new QWidget(this)),
      m_pageView(new PageView(m_page, m_pageForm)), m_hScroll(new QScrollBar(Qt::Horizontal, &window)),
      m_vScroll(new QScrollBar(Qt::Vertical, &window))
{
    setObjectName(QStringLiteral("wFUNDO"));
    m_pageForm->setObjectName(QStringLiteral("Assist"));
    m_hScroll->setObjectName(QStringLiteral("HScroll"));
    m_vScroll->setObjectName(QStringLiteral("VScroll"));
    installPatternBackground(*this);
    m_pageForm->setAutoFillBackground(true);
    m_pageForm->setPalette(QPalette(Qt::white));
    m_pageView->setFocusPolicy(Qt::StrongFocus);

    for (QScrollBar *bar : {m_hScroll, m_vScroll}) {
        bar->setSingleStep(twipsToPixels(ScrollArrowStepTwips));
        bar->setEnabled(false);
    }
    // Value 0 puts the page's edge 200 twips inside the desk.
    connect(m_hScroll, &QScrollBar::valueChanged, this,
            [this](int value) { m_pageForm->move(PageMargin - value, m_pageForm->y()); });
    connect(m_vScroll, &QScrollBar::valueChanged, this,
            [this](int value) { m_pageForm->move(m_pageForm->x(), PageMargin - value); });
    translated(*this, [this] { describeForAssistiveTools(); });
}

void PageDesk::describeForAssistiveTools()
{
    setAccessibleTexts({
        {m_pageView,
         {},
         tr("A página em vista; + e - mudam o zoom, as setas deslocam-na, PgUp e PgDown mudam de página")},
        {m_hScroll, tr("Deslocamento horizontal"),
         tr("Desloca a página na horizontal (setas esquerda e direita)")},
        {m_vScroll, tr("Deslocamento vertical"), tr("Desloca a página na vertical (setas acima e abaixo)")},
    });
}

void PageDesk::layOut(const QRect &area)
{
    const int scrollBar = twipsToPixels(ScrollBarThickness);
    const int right = area.x() + area.width();
    const int bottom = area.y() + area.height();
    m_vScroll->setGeometry(right - scrollBar, area.y(), scrollBar, area.height() - scrollBar);
    m_vScroll->setValue(0);
    m_hScroll->setGeometry(area.x(), bottom - scrollBar, area.width() - scrollBar, scrollBar);
    m_hScroll->setValue(0);
    setGeometry(area.x(), area.y(), area.width() - scrollBar, area.height() - scrollBar);
    m_vScroll->setPageStep(height());
    m_hScroll->setPageStep(width());
}

void PageDesk::placePage(const PrinterPage &sheet, const ListingState &listing)
{
    const QSize pageSize = sheetPixels(sheet, listing.Zoom);
    // Not hidden while it moves: hiding the page would take the keyboard's focus from it.
    m_pageForm->setUpdatesEnabled(false);
    QPoint position;
    placeAlong(*m_hScroll, pageSize.width(), width(), position.rx());
    placeAlong(*m_vScroll, pageSize.height(), height(), position.ry());
    m_pageForm->setGeometry(QRect(position, pageSize));
    m_pageView->setGeometry(QRect(QPoint(0, 0), pageSize));
    resizePageImage(pageSize);
    mapWholeSheet(m_page, sheet, listing.OffX, listing.OffY);
    m_pageForm->setUpdatesEnabled(true);
}

void PageDesk::resizePageImage(QSize pixels)
{
    const qreal ratio = m_pageView->devicePixelRatioF();
    const QSize devicePixels = (QSizeF(pixels) * ratio).toSize();
    const QImage &image = m_page.image();
    if (image.size() == devicePixels && image.devicePixelRatio() == ratio && !image.isNull())
        return; // same page picture: what it shows stays valid
    m_page.setPixelSize(devicePixels, ratio);
    m_pageView->invalidate();
    m_pageView->update();
}

bool PageDesk::scrollByWheel(int wheelAngle)
{
    QScrollBar &bar = *m_vScroll;
    const bool down = wheelAngle < 0;
    if (!bar.isEnabled() || (down ? bar.value() >= bar.maximum() : bar.value() <= bar.minimum()))
        return false;
    bar.setValue(bar.value() -
                 wheelAngle * QApplication::wheelScrollLines() * bar.singleStep() / WheelAnglePerNotch);
    return true;
}

void PageDesk::scrollToEdge(Qt::Edge edge)
{
    m_vScroll->setValue(edge == Qt::TopEdge ? m_vScroll->minimum() : m_vScroll->maximum());
}

void PageDesk::scrollStep(Qt::Orientation orientation, QAbstractSlider::SliderAction action)
{
    QScrollBar *bar = orientation == Qt::Horizontal ? m_hScroll : m_vScroll;
    if (bar->isEnabled())
        bar->triggerAction(action);
}

void PageDesk::enablePage()
{
    for (QWidget *form : {static_cast<QWidget *>(this), m_pageForm, static_cast<QWidget *>(m_pageView)})
        form->setEnabled(true);
}

} // namespace quillet
