#include "preview/PageThumbnails.h"

#include "compose/Session.h"
#include "platform/ImageSurface.h"
#include "preview/PreviewLayout.h"
#include "render/PageRenderer.h"
#include "render/PrinterDevice.h"
#include "widgets/AccessibleText.h"
#include "widgets/Translation.h"

#include <QPainter>
#include <QScrollBar>

namespace quillet {

using namespace preview_layout;

PageThumbnails::PageThumbnails(Session &listing, QWidget *parent)
    : ThumbnailPanel([this](int page, qreal devicePixelRatio) { return drawPage(page, devicePixelRatio); },
                     parent),
      m_listing(listing), m_surface(std::make_unique<ImageSurface>())
{
    hide();
    translated(*this, [this] {
        setAccessibleTexts(
            {{this, tr("Miniaturas"), tr("Uma miniatura por página; um clique mostra essa página")}});
    });
}

PageThumbnails::~PageThumbnails() = default;

void PageThumbnails::showPanel(bool shown)
{
    const PrinterDevice *printer = m_listing.printer;
    if (shown && printer) {
        const QSize picture = sheetPixels(printer->page(), ThumbnailZoom);
        reset(m_listing.state.NumPages, picture);
        // Room for the picture, its page number and the scroll bar.
        const int numberWidth = fontMetrics().horizontalAdvance(QStringLiteral("00000"));
        resize(picture.width() + numberWidth + 6 * spacing() + 2 * frameWidth() +
                   verticalScrollBar()->sizeHint().width(),
               height());
    }
    setVisible(shown && printer);
}

QImage PageThumbnails::drawPage(int page, qreal devicePixelRatio)
{
    const ListingState &s = m_listing.state;
    if (!m_listing.printer || !s.Preview || s.Spooling || s.Surface != m_listing.pageSurface || page < 1 ||
        page > s.NumPages)
        return {};
    const PrinterPage sheet = m_listing.printer->page();
    const QSize picture = sheetPixels(sheet, ThumbnailZoom);
    m_surface->setPixelSize((QSizeF(picture) * devicePixelRatio).toSize(), devicePixelRatio);
    mapWholeSheet(*m_surface, sheet, s.OffX, s.OffY);
    ListingReplay(m_listing, *m_surface, ListingReplay::Look::Previewed, ThumbnailZoom).render(page);
    // A thin edge, one device pixel: a white page stands out from the white panel.
    QImage framed = m_surface->image();
    QPainter edge(&framed);
    edge.setPen(QPen(QColor(150, 150, 150), 0));
    const qreal pixel = 1 / framed.devicePixelRatio();
    edge.drawRect(QRectF(QPointF(0, 0), QSizeF(framed.size()) * pixel).adjusted(0, 0, -pixel, -pixel));
    return framed;
}

} // namespace quillet
