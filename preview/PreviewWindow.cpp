#include "preview/PreviewWindow.h"

#include "base/ErrorsIgnored.h"
#include "platform/ImageSurface.h"
#include "preview/PageDesk.h"
#include "preview/PageThumbnails.h"
#include "preview/PageView.h"
#include "preview/PreviewFinder.h"
#include "preview/PreviewLayout.h"
#include "preview/ZoomPanel.h"
#include "print/PrinterDialog.h"
#include "render/PrinterDevice.h"
#include "widgets/Translation.h"

#include <QCoreApplication>
#include <QLabel>
#include <QToolButton>

namespace quillet {

using namespace preview_layout;

PreviewWindow::PreviewWindow(std::shared_ptr<Session> ownListing, std::shared_ptr<ImageSurface> page)
    : m_listing(std::move(ownListing)), m_pageSurface(std::move(page)), m_toolbar(panel("PTop", this)),
      m_rule(new QFrame(m_toolbar)), m_desk(new PageDesk(*m_pageSurface, *this)),
      m_printerDialog(new PrinterDialog(this)),
      m_finder(new PreviewFinder(*m_listing, *m_pageSurface, *m_desk, *this))
{
    setObjectName(QStringLiteral("ScrLst"));
    setWindowTitle(QCoreApplication::applicationName());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    m_printerDialog->setObjectName(QStringLiteral("CMD"));
    m_toolbar->setAutoFillBackground(true);

    buildToolbar();
    buildPageNavigation();
    m_zoom = new ZoomPanel(*m_listing, m_toolbar);
    hideSwitchedOffButtons();
    buildKeyMap();
    buildThumbnails();
    translated(*this, [this] { describeForAssistiveTools(); });
    orderTabStops();

    PageView &pageView = m_desk->pageView();
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

    setMinimumSize(twipsToPixels(MinWidth), twipsToPixels(3 * ToolbarHeight));
    resize(twipsToPixels(InitialWidth), twipsToPixels(InitialHeight));
    if (listing().ParentWin)
        setWindowState(Qt::WindowMaximized);
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::buildThumbnails()
{
    m_thumbnails = new PageThumbnails(*m_listing, this);
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
    writePageLabel();
    m_firstPage->setEnabled(s.CurPage != 1);
    m_previousPage->setEnabled(s.CurPage != 1);
    m_nextPage->setEnabled(s.CurPage != s.NumPages);
    m_lastPage->setEnabled(s.CurPage != s.NumPages);
    if (s.Surface == m_listing->pageSurface)
        m_finder->renderPage();
    pageView.update();
    if (!m_thumbnails->isHidden())
        m_thumbnails->setCurrentPage(s.CurPage);
    emit pageRendered(s.CurPage);
}

void PreviewWindow::writePageLabel()
{
    m_pageLabel->setText(tr("Página %1 de %2").arg(listing().CurPage).arg(listing().NumPages));
    // Tells a screen reader of the new page; Qt sends nothing when none listens.
    m_desk->pageView().setAccessibleName(m_pageLabel->text());
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
