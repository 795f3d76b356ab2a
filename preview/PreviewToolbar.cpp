#include "base/ErrorsIgnored.h"
#include "preview/GoToPageBox.h"
#include "preview/PageDesk.h"
#include "preview/PageThumbnails.h"
#include "preview/PreviewFinder.h"
#include "preview/PreviewLayout.h"
#include "preview/PreviewWindow.h"
#include "preview/ToolbarIcons.h"
#include "preview/ZoomPanel.h"

#include <QLabel>

namespace quillet {

using namespace preview_layout;

void PreviewWindow::buildToolbar()
{
    m_rule->setObjectName(QStringLiteral("LTop"));
    m_rule->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    m_closeButton = toolbarButton("butCAN", QT_TR_NOOP("Fechar (Esc)"), closeIcon(), 0, m_toolbar);
    const ListingState &s = listing();
    // Without the printer set-up the button offers the page range only.
    const char *setupTip = !s.ShowSetup && s.ShowSelPag ? QT_TR_NOOP("Páginas a Imprimir...")
                                                        : QT_TR_NOOP("Seleccionar Impressora...");
    m_setupButton = toolbarButton("butSETUP", setupTip, printerSetupIcon(), 1, m_toolbar);
    m_printButton = toolbarButton("butPRT", QT_TR_NOOP("Imprimir (Ctrl+P)"), printIcon(), 2, m_toolbar);
    m_findButton =
        toolbarButton("butFIND", QT_TR_NOOP("Pesquisar... (Ctrl+F; seguinte F3, anterior Shift+F3)"),
                      findIcon(), 3, m_toolbar);
    m_pdfButton = toolbarButton("butPDF", QT_TR_NOOP("Salvar como PDF..."), pdfIcon(), 4, m_toolbar);
    m_thumbButton = toolbarButton("butTHUMB", QT_TR_NOOP("Miniaturas"), thumbnailsIcon(), 5, m_toolbar);
    m_thumbButton->setCheckable(true);
    connect(m_closeButton, &QToolButton::clicked, this, &QDialog::reject);
    connect(m_setupButton, &QToolButton::clicked, this, &PreviewWindow::setupRequested);
    connect(m_printButton, &QToolButton::clicked, this, &PreviewWindow::printRequested);
    connect(m_findButton, &QToolButton::clicked, this, guarded(m_finder, &PreviewFinder::find));
    connect(m_pdfButton, &QToolButton::clicked, this, &PreviewWindow::savePdfRequested);
}

void PreviewWindow::buildPageNavigation()
{
    m_pagePanel = panel("PPag", m_toolbar);
    m_pagePanel->resize(twipsToPixels(PagePanelWidth), twipsToPixels(PagePanelHeight));
    m_firstPage = navigationButton("FstPag", "<<", QT_TR_NOOP("Primeira Página (Home)"), 60, m_pagePanel);
    m_previousPage = navigationButton("bPag0", "<", QT_TR_NOOP("Página Anterior (PgUp)"), 540, m_pagePanel);
    m_nextPage = navigationButton("bPag1", ">", QT_TR_NOOP("Página Seguinte (PgDown)"), 1020, m_pagePanel);
    m_lastPage = navigationButton("LstPag", ">>", QT_TR_NOOP("Última Página (End)"), 1500, m_pagePanel);
    m_pageLabel = new QLabel(m_pagePanel);
    m_pageLabel->setObjectName(QStringLiteral("LPag"));
    m_pageLabel->setAlignment(Qt::AlignCenter);
    m_pageLabel->setGeometry(twipsRect(0, 0, PagePanelWidth, PageLabelHeight + 45));
    QFont small = m_pageLabel->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_pageLabel->setFont(small);
    translated(*m_pageLabel, [this] {
        m_pageLabel->setToolTip(tr("Ir para a página... (Ctrl+G)"));
        if (!m_pageLabel->text().isEmpty())
            writePageLabel();
    });
    m_pageLabel->setCursor(Qt::IBeamCursor);
    m_pageLabel->installEventFilter(this);
    m_goToPage = new GoToPageBox(*m_pageLabel);
    connect(m_goToPage, &GoToPageBox::pageEntered, this,
            [this](int page) { showPage(std::clamp(page, 1, std::max(1, int(listing().NumPages)))); });

    connect(m_firstPage, &QPushButton::clicked, this, [this] { showPage(1); });
    connect(m_previousPage, &QPushButton::clicked, this, [this] { showPage(listing().CurPage - 1); });
    connect(m_nextPage, &QPushButton::clicked, this, [this] { showPage(listing().CurPage + 1); });
    connect(m_lastPage, &QPushButton::clicked, this, [this] { showPage(listing().NumPages); });
}

void PreviewWindow::hideSwitchedOffButtons()
{
    // A hidden button also moves one slot left, so the page panel, which
    // follows the last button of the row, stands right of the last one shown.
    const ListingState &s = listing();
    if (!s.ShowSetup && !s.ShowSelPag) {
        m_setupButton->hide();
        moveLeftOneSlot({m_printButton, m_findButton, m_pdfButton, m_thumbButton});
    }
    if (!s.ShowPrint) {
        m_printButton->hide();
        moveLeftOneSlot({m_findButton, m_pdfButton, m_thumbButton});
    }
    if (!s.ShowFind) {
        m_findButton->hide();
        moveLeftOneSlot({m_findButton, m_pdfButton, m_thumbButton});
    }
    if (!s.ShowPdf) {
        m_pdfButton->hide();
        moveLeftOneSlot({m_pdfButton, m_thumbButton});
    }
}

void PreviewWindow::layoutWindow()
{
    if (isMinimized())
        return;
    m_desk->hide();
    const int toolbarHeight = twipsToPixels(ToolbarHeight);
    const int innerWidth = width();
    const int innerHeight = height();

    m_toolbar->setGeometry(0, 0, innerWidth, toolbarHeight);
    m_rule->setGeometry(0, toolbarHeight - 2, innerWidth, 2);
    // A narrow window keeps the panels right of the buttons, even past its edge.
    const int pagePanelLeft = std::max((innerWidth - m_pagePanel->width()) / 2, rightEdge(m_thumbButton));
    m_pagePanel->move(pagePanelLeft, twipsToPixels(PagePanelTop));
    const int zoomPanelLeft =
        std::max(innerWidth - twipsToPixels(ScrollBarThickness) - m_zoom->width(), rightEdge(m_pagePanel));
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
    m_desk->show();
}

} // namespace quillet
