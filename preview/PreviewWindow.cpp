#include "preview/PreviewWindow.h"

#include "base/ErrorsIgnored.h"
#include "platform/ImageSurface.h"
#include "preview/PageDesk.h"
#include "preview/PageNavigation.h"
#include "preview/PageThumbnails.h"
#include "preview/PageView.h"
#include "preview/PreviewFinder.h"
#include "preview/PreviewLayout.h"
#include "preview/PreviewToolbar.h"
#include "preview/ZoomBox.h"
#include "preview/ZoomPanel.h"
#include "print/PrinterDialog.h"
#include "render/PrinterDevice.h"
#include "widgets/Translation.h"

#include <QCoreApplication>

namespace quillet {

using namespace preview_layout;

PreviewWindow::PreviewWindow(std::shared_ptr<Session> ownListing, std::shared_ptr<ImageSurface> page)
    : m_listing(std::move(ownListing)), m_pageSurface(std::move(page)),
      m_toolbar(new PreviewToolbar(listing(), this)), m_navigation(new PageNavigation(listing(), m_toolbar)),
      m_zoom(new ZoomPanel(*m_listing, m_toolbar)), m_desk(new PageDesk(*m_pageSurface, *this)),
      m_printerDialog(new PrinterDialog(this)), m_thumbnails(new PageThumbnails(*m_listing, this)),
      m_finder(new PreviewFinder(*m_listing, *m_pageSurface, *m_desk, *this))
{
    setObjectName(QStringLiteral("ScrLst"));
    setWindowTitle(QCoreApplication::applicationName());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    m_printerDialog->setObjectName(QStringLiteral("CMD"));
    wireParts();
    buildKeyMap();
    // The window's name is its caption, the listing's name.
    translated(*this, [this] {
        setAccessibleDescription(tr("Pré-visualização da listagem, uma página de cada vez"));
    });
    orderTabStops();

    setMinimumSize(twipsToPixels(MinWidth), twipsToPixels(3 * ToolbarHeight));
    resize(twipsToPixels(InitialWidth), twipsToPixels(InitialHeight));
    if (listing().ParentWin)
        setWindowState(Qt::WindowMaximized);
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::wireParts()
{
    connect(m_toolbar, &PreviewToolbar::closeClicked, this, &QDialog::reject);
    connect(m_toolbar, &PreviewToolbar::setupClicked, this, &PreviewWindow::setupRequested);
    connect(m_toolbar, &PreviewToolbar::printClicked, this, &PreviewWindow::printRequested);
    connect(m_toolbar, &PreviewToolbar::findClicked, this, guarded(m_finder, &PreviewFinder::find));
    connect(m_toolbar, &PreviewToolbar::pdfClicked, this, &PreviewWindow::savePdfRequested);
    connect(m_toolbar, &PreviewToolbar::thumbnailsToggled, this,
            guarded(this, &PreviewWindow::toggleThumbnails));

    connect(m_navigation, &PageNavigation::pageRequested, this, &PreviewWindow::showPage);
    // Tells a screen reader of the new page; Qt sends nothing when none listens.
    connect(m_navigation, &PageNavigation::labelWritten, &m_desk->pageView(), &QWidget::setAccessibleName);
    connect(m_thumbnails, &ThumbnailPanel::pageClicked, this, &PreviewWindow::showPage);

    PageView &pageView = m_desk->pageView();
    const auto focusPage = [&pageView] { pageView.setFocus(Qt::OtherFocusReason); };
    connect(m_navigation, &PageNavigation::doneWithKeys, this, focusPage);
    connect(&m_zoom->box(), &ZoomBox::entered, this, focusPage);
    connect(&pageView, &PageView::renderRequested, this, guarded(this, &PreviewWindow::renderPage));
    connect(&pageView, &PageView::pressed, this, guarded(m_zoom, &ZoomPanel::stepFor));
    connect(&pageView, &PageView::doubleClicked, this, guarded(m_zoom, &ZoomPanel::repeatStep));
    connect(m_zoom, &ZoomPanel::zoomChanged, this, [this, &pageView] {
        DIMWINDOW();
        pageView.update();
    });

    connect(m_finder, &PreviewFinder::pageChosen, this, [this] {
        DIMWINDOW();
        renderPage();
    });
    connect(m_finder, &PreviewFinder::hitChosen, this, &PreviewWindow::renderPage);
    connect(m_finder, &PreviewFinder::dialogClosed, this, &PreviewWindow::takeBackKeys);
}

void PreviewWindow::orderTabStops()
{
    const QList<QWidget *> stops = m_toolbar->tabStops() + m_navigation->tabStops() +
                                   QList<QWidget *>{&m_desk->pageView(), &m_zoom->box()};
    for (qsizetype i = 1; i < stops.size(); ++i)
        setTabOrder(stops[i - 1], stops[i]);
}

void PreviewWindow::resizeEvent(QResizeEvent *event)
{
    ignoringErrors([&] {
        QDialog::resizeEvent(event);
        layoutWindow();
    });
}

void PreviewWindow::layoutWindow()
{
    if (isMinimized())
        return;
    m_desk->setUpdatesEnabled(false);
    const int toolbarHeight = twipsToPixels(ToolbarHeight);
    const int innerWidth = width();
    const int innerHeight = height();

    m_toolbar->stretchTo(innerWidth);
    // A narrow window keeps the panels right of the buttons, even past its edge.
    const int pagePanelLeft = std::max((innerWidth - m_navigation->width()) / 2, m_toolbar->buttonsRight());
    m_navigation->move(pagePanelLeft, twipsToPixels(PagePanelTop));
    const int zoomPanelLeft =
        std::max(innerWidth - twipsToPixels(ScrollBarThickness) - m_zoom->width(), rightEdge(m_navigation));
    m_zoom->move(zoomPanelLeft, twipsToPixels(ZoomPanelTop));

    // The thumbnail panel, when shown, takes a strip at the left of the desk
    // and its scroll bar; the rest is laid out in what remains.
    const int panelWidth = m_thumbnails->isHidden() ? 0 : m_thumbnails->width();
    m_thumbnails->setGeometry(0, toolbarHeight, panelWidth, innerHeight - toolbarHeight);
    m_desk->layOut(QRect(panelWidth, toolbarHeight, innerWidth - panelWidth, innerHeight - toolbarHeight));

    const ListingState &s = listing();
    if (s.Preview && s.ASizeOn)
        m_zoom->fitTo(m_desk->size());
    DIMWINDOW();
    m_desk->setUpdatesEnabled(true);
}

void PreviewWindow::DIMWINDOW()
{
    if (const PrinterDevice *printer = m_listing->printer)
        m_desk->placePage(printer->page(), listing());
}

void PreviewWindow::fitPageToWindow()
{
    m_zoom->fitTo(m_desk->size());
    DIMWINDOW();
}

void PreviewWindow::renderPage()
{
    ListingState &s = listing();
    PageView &pageView = m_desk->pageView();
    pageView.markRendered();
    if (!s.Preview || s.Spooling)
        return; // still composing: there is no page count yet
    m_pageSurface->clear();
    m_navigation->showCurrentPage();
    if (s.Surface == m_listing->pageSurface)
        m_finder->renderPage();
    pageView.update();
    if (!m_thumbnails->isHidden())
        m_thumbnails->setCurrentPage(s.CurPage);
    emit pageRendered(s.CurPage);
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
    m_thumbnails->showPanel(shown);
    layoutWindow();
    if (shown)
        m_thumbnails->setCurrentPage(listing().CurPage);
}

void PreviewWindow::takeBackKeys()
{
    if (!isVisible())
        return;
    activateWindow();
    m_desk->pageView().setFocus(Qt::OtherFocusReason);
}

void PreviewWindow::showEvent(QShowEvent *event)
{
    ignoringErrors([&] {
        QDialog::showEvent(event);
        if (m_firstActivation) {
            m_firstActivation = false;
            // The keys turn pages from the start; no button takes Space or Enter unseen.
            m_desk->pageView().setFocus(Qt::OtherFocusReason);
            activateWindow();
        }
    });
}

} // namespace quillet
