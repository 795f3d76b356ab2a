#include "preview/PreviewWindow.h"

#include "base/ErrorsIgnored.h"
#include "platform/ImageSurface.h"
#include "preview/PageView.h"
#include "preview/PreviewLayout.h"
#include "preview/ThumbnailPanel.h"
#include "print/PrinterDialog.h"
#include "render/PageRenderer.h"
#include "render/PrinterDevice.h"
#include "widgets/PaintPattern.h"
#include "widgets/Translation.h"

#include <QCoreApplication>
#include <QLabel>
#include <QScrollBar>

namespace quillet {

using namespace preview_layout;

PreviewWindow::PreviewWindow(std::shared_ptr<Session> ownListing, std::shared_ptr<ImageSurface> page)
    : m_listing(std::move(ownListing)), m_pageSurface(std::move(page)), m_page(*m_pageSurface),
      m_toolbar(panel("PTop", this)), m_rule(new QFrame(m_toolbar)),
      m_hScroll(new QScrollBar(Qt::Horizontal, this)), m_vScroll(new QScrollBar(Qt::Vertical, this)),
      m_desk(new QWidget(this)), m_pageForm(new QWidget(m_desk)),
      m_pageView(new PageView(m_page, m_pageForm)), m_printerDialog(new PrinterDialog(this)),
      m_thumbnailSurface(std::make_unique<ImageSurface>()), m_finder(*m_listing)
{
    setObjectName(QStringLiteral("ScrLst"));
    setWindowTitle(QCoreApplication::applicationName());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    m_printerDialog->setObjectName(QStringLiteral("CMD"));
    m_hScroll->setObjectName(QStringLiteral("HScroll"));
    m_vScroll->setObjectName(QStringLiteral("VScroll"));
    m_desk->setObjectName(QStringLiteral("wFUNDO"));
    m_pageForm->setObjectName(QStringLiteral("Assist"));
    m_toolbar->setAutoFillBackground(true);
    installPatternBackground(*m_desk);
    m_pageForm->setAutoFillBackground(true);
    m_pageForm->setPalette(QPalette(Qt::white));

    buildToolbar();
    buildPageNavigation();
    buildZoomPanel();
    hideSwitchedOffButtons();
    buildKeyMap();
    buildThumbnails();
    translated(*this, [this] { describeForAssistiveTools(); });
    orderTabStops();

    for (QScrollBar *bar : {m_hScroll, m_vScroll}) {
        bar->setSingleStep(twipsToPixels(ScrollArrowStepTwips));
        bar->setEnabled(false);
    }
    // Value 0 puts the page's edge 200 twips inside the desk.
    connect(m_hScroll, &QScrollBar::valueChanged, this,
            [this](int value) { m_pageForm->move(PageMargin - value, m_pageForm->y()); });
    connect(m_vScroll, &QScrollBar::valueChanged, this,
            [this](int value) { m_pageForm->move(m_pageForm->x(), PageMargin - value); });
    connect(m_pageView, &PageView::renderRequested, this, guarded(this, &PreviewWindow::renderPage));
    connect(m_pageView, &PageView::pressed, this, guarded(this, &PreviewWindow::zoomStep));
    connect(m_pageView, &PageView::doubleClicked, this, guarded(this, &PreviewWindow::repeatZoomStep));

    setMinimumSize(twipsToPixels(MinWidth), twipsToPixels(3 * ToolbarHeight));
    resize(twipsToPixels(InitialWidth), twipsToPixels(InitialHeight));
    if (listing().ParentWin)
        setWindowState(Qt::WindowMaximized);
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::buildThumbnails()
{
    m_thumbnails = new ThumbnailPanel(
        [this](int page, qreal devicePixelRatio) { return drawThumbnail(page, devicePixelRatio); }, this);
    m_thumbnails->hide();
    connect(m_thumbnails, &ThumbnailPanel::pageClicked, this, &PreviewWindow::showPage);
    connect(m_thumbButton, &QToolButton::toggled, this, guarded(this, &PreviewWindow::toggleThumbnails));
}

void PreviewWindow::resizeEvent(QResizeEvent *event)
{
    ignoringErrors([&] {
        QDialog::resizeEvent(event);
        layoutWindow();
    });
}

void PreviewWindow::DIMWINDOW()
{
    const PrinterDevice *printer = m_listing->printer;
    if (!printer)
        return;
    ListingState &s = listing();
    const PrinterPage sheet = printer->page();
    const QSize pageSize = sheetPixels(sheet, s.Zoom);

    m_pageForm->hide();
    QPoint position;
    placePage(*m_hScroll, pageSize.width(), m_desk->width(), position.rx());
    placePage(*m_vScroll, pageSize.height(), m_desk->height(), position.ry());
    m_pageForm->setGeometry(QRect(position, pageSize));
    m_pageView->setGeometry(QRect(QPoint(0, 0), pageSize));
    resizePageImage(pageSize);
    mapWholeSheet(m_page, sheet, s.OffX, s.OffY);
    m_pageForm->show();
}

void PreviewWindow::placePage(QScrollBar &bar, int pageSize, int deskSize, int &position)
{
    if (pageSize > deskSize) {
        bar.setValue(0);
        const int maximum = pageSize - deskSize + 2 * PageMargin;
        if (maximum <= MaxScrollRange)
            bar.setRange(0, maximum);
        bar.setEnabled(true);
        position = PageMargin;
    } else {
        bar.setEnabled(false);
        position = (deskSize - pageSize) / 2;
    }
}

void PreviewWindow::resizePageImage(QSize pixels)
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

void PreviewWindow::renderPage()
{
    ListingState &s = listing();
    m_pageView->markRendered();
    if (!s.Preview || s.Spooling)
        return; // still composing: there is no page count yet
    m_page.clear();
    writePageLabel();
    m_firstPage->setEnabled(s.CurPage != 1);
    m_previousPage->setEnabled(s.CurPage != 1);
    m_nextPage->setEnabled(s.CurPage != s.NumPages);
    m_lastPage->setEnabled(s.CurPage != s.NumPages);
    if (s.Surface == m_listing->pageSurface)
        renderWithHighlights();
    m_pageView->update();
    if (!m_thumbnails->isHidden())
        m_thumbnails->setCurrentPage(s.CurPage);
    emit pageRendered(s.CurPage);
}

void PreviewWindow::writePageLabel()
{
    m_pageLabel->setText(tr("Página %1 de %2").arg(listing().CurPage).arg(listing().NumPages));
    // Tells a screen reader of the new page; Qt sends nothing when none listens.
    m_pageView->setAccessibleName(m_pageLabel->text());
}

void PreviewWindow::showPage(int page)
{
    ignoringErrors([&] {
        ListingState &s = listing();
        if (page < 1 || page > s.NumPages || page == s.CurPage)
            return;
        s.CurPage = static_cast<int16_t>(page);
        renderPage();
    });
}

void PreviewWindow::toggleThumbnails(bool shown)
{
    const PrinterDevice *printer = m_listing->printer;
    if (shown && printer) {
        const QSize picture = sheetPixels(printer->page(), ThumbnailZoom);
        m_thumbnails->reset(listing().NumPages, picture);
        // Room for the picture, its page number and the scroll bar.
        const int numberWidth = m_thumbnails->fontMetrics().horizontalAdvance(QStringLiteral("00000"));
        m_thumbnails->resize(picture.width() + numberWidth + 6 * m_thumbnails->spacing() +
                                 2 * m_thumbnails->frameWidth() +
                                 m_thumbnails->verticalScrollBar()->sizeHint().width(),
                             m_thumbnails->height());
    }
    m_thumbnails->setVisible(shown && printer);
    layoutWindow();
    if (shown)
        m_thumbnails->setCurrentPage(listing().CurPage);
}

QImage PreviewWindow::drawThumbnail(int page, qreal devicePixelRatio)
{
    const ListingState &s = listing();
    if (!m_listing->printer || !s.Preview || s.Spooling || s.Surface != m_listing->pageSurface || page < 1 ||
        page > s.NumPages)
        return {};
    const PrinterPage sheet = m_listing->printer->page();
    const QSize picture = sheetPixels(sheet, ThumbnailZoom);
    m_thumbnailSurface->setPixelSize((QSizeF(picture) * devicePixelRatio).toSize(), devicePixelRatio);
    mapWholeSheet(*m_thumbnailSurface, sheet, s.OffX, s.OffY);
    ListingReplay(*m_listing, *m_thumbnailSurface, ListingReplay::Look::Previewed, ThumbnailZoom)
        .render(page);
    return m_thumbnailSurface->image();
}

void PreviewWindow::showEvent(QShowEvent *event)
{
    ignoringErrors([&] {
        QDialog::showEvent(event);
        if (m_firstActivation) {
            m_firstActivation = false;
            activateWindow();
        }
    });
}

} // namespace quillet
