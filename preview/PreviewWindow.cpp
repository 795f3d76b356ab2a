#include "preview/PreviewWindow.h"

#include "compose/Session.h"
#include "control/Twips.h"
#include "platform/ImageSurface.h"
#include "preview/FindDialog.h"
#include "preview/GoToPageBox.h"
#include "preview/HitCounter.h"
#include "preview/PageView.h"
#include "preview/PaintPattern.h"
#include "preview/SelectAllText.h"
#include "preview/ThumbnailPanel.h"
#include "preview/ToolbarIcons.h"
#include "preview/ZoomBox.h"
#include "print/PageReplay.h"
#include "print/PrinterDialog.h"
#include "render/PageRenderer.h"
#include "render/PrinterDevice.h"
#include "render/SetupSurface.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>

#include <cmath>
#include <initializer_list>
#include <limits>

namespace quillet {

namespace {

// Geometry in twips.
constexpr int InitialWidth = 12000;
constexpr int InitialHeight = 9000;
constexpr int MinWidth = 1000;
constexpr int ToolbarHeight = 660;
constexpr int ButtonTop = 45;
constexpr int ButtonWidth = 615;
constexpr int ButtonHeight = 555;
constexpr int ButtonSlot = 660;
constexpr int FirstButtonLeft = 240;
constexpr int PagePanelTop = 30;
constexpr int PagePanelWidth = 1995;
constexpr int PagePanelHeight = 600;
constexpr int NavigationTop = 240;
constexpr int NavigationWidth = 435;
constexpr int NavigationHeight = 315;
constexpr int PageLabelHeight = 195;
constexpr int ZoomPanelTop = 120;
constexpr int ZoomPanelWidth = 1275;
constexpr int ZoomPanelHeight = 420;
constexpr int ScrollBarThickness = 255;
constexpr int PageMarginTwips = 200;
constexpr int ScrollArrowStepTwips = 300;

constexpr int PageMargin = twipsToPixels(PageMarginTwips);
constexpr int MaxScrollRange = std::numeric_limits<int16_t>::max();
/// Whole percents tried by the automatic fit, from 100 % down.
constexpr int FitFromPercent = 100;
constexpr int FitDownToPercent = 10;
constexpr float MinZoom = 0.1f;
constexpr float MaxZoom = 2.0f;
constexpr double ZoomStepPercent = 5;
constexpr double MinPercent = 10;
constexpr double MaxPercent = 200;
/// Thumbnails are the page at this zoom, in whole percent as the page zooms.
constexpr float ThumbnailZoom = 0.15f;
constexpr int WheelAnglePerNotch = 120;

QFrame *panel(const char *name, QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(name));
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    return frame;
}

QToolButton *toolbarButton(const char *name, const QString &toolTip, const QIcon &icon, int slot,
                           QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(toolTip);
    button->setIcon(icon);
    button->setIconSize(QSize(24, 24));
    button->setFocusPolicy(Qt::StrongFocus); // a click takes the focus and so validates the zoom box
    button->setGeometry(twipsRect(FirstButtonLeft + slot * ButtonSlot, ButtonTop, ButtonWidth, ButtonHeight));
    return button;
}

/// The part of a printed text's box that a matching run of its characters covers.
QRectF runBox(const Surface &surface, std::string_view text, const QRectF &textBox,
              std::pair<size_t, size_t> run)
{
    const std::vector<float> widths = surface.prefixWidths(text);
    if (widths.empty() || !(widths.back() > 0))
        return textBox;
    const auto left = [&](size_t characters) {
        return characters == 0
                   ? 0.0
                   : textBox.width() * widths[std::min(characters, widths.size()) - 1] / widths.back();
    };
    return QRectF(textBox.left() + left(run.first), textBox.top(), left(run.second) - left(run.first),
                  textBox.height());
}

QPushButton *navigationButton(const char *name, const char *caption, const char *toolTip, int left,
                              QWidget *parent)
{
    auto *button = new QPushButton(QLatin1String(caption), parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(QString::fromUtf8(toolTip));
    button->setAutoDefault(false);
    button->setGeometry(twipsRect(left, NavigationTop, NavigationWidth, NavigationHeight));
    return button;
}

/// Closes the gap a hidden button leaves: the buttons after it move one slot left.
void moveLeftOneSlot(std::initializer_list<QWidget *> buttons)
{
    for (QWidget *button : buttons)
        button->move(button->x() - twipsToPixels(ButtonSlot), button->y());
}

int rightEdge(const QWidget *widget)
{
    return widget->x() + widget->width();
}

ListingState &listing()
{
    return session().state;
}

} // namespace

PreviewWindow::PreviewWindow(ImageSurface &page)
    : m_page(page), m_toolbar(panel("PTop", this)), m_rule(new QFrame(m_toolbar)),
      m_hScroll(new QScrollBar(Qt::Horizontal, this)), m_vScroll(new QScrollBar(Qt::Vertical, this)),
      m_desk(new QWidget(this)), m_pageForm(new QWidget(m_desk)), m_pageView(new PageView(page, m_pageForm)),
      m_printerDialog(new PrinterDialog(this)), m_thumbnailSurface(std::make_unique<ImageSurface>()),
      m_finder(session())
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

    for (QScrollBar *bar : {m_hScroll, m_vScroll}) {
        bar->setSingleStep(twipsToPixels(ScrollArrowStepTwips));
        bar->setEnabled(false);
    }
    // Value 0 puts the page's edge 200 twips inside the desk.
    connect(m_hScroll, &QScrollBar::valueChanged, this,
            [this](int value) { m_pageForm->move(PageMargin - value, m_pageForm->y()); });
    connect(m_vScroll, &QScrollBar::valueChanged, this,
            [this](int value) { m_pageForm->move(m_pageForm->x(), PageMargin - value); });
    connect(m_pageView, &PageView::renderRequested, this, &PreviewWindow::renderPage);
    connect(m_pageView, &PageView::pressed, this, &PreviewWindow::zoomStep);
    connect(m_pageView, &PageView::doubleClicked, this, &PreviewWindow::repeatZoomStep);

    setMinimumSize(twipsToPixels(MinWidth), twipsToPixels(3 * ToolbarHeight));
    resize(twipsToPixels(InitialWidth), twipsToPixels(InitialHeight));
    if (listing().ParentWin)
        setWindowState(Qt::WindowMaximized);
}

PreviewWindow::~PreviewWindow()
{
    unload();
}

void PreviewWindow::buildToolbar()
{
    m_rule->setObjectName(QStringLiteral("LTop"));
    m_rule->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    m_closeButton = toolbarButton("butCAN", QStringLiteral("Fechar (Esc)"), closeIcon(), 0, m_toolbar);
    const ListingState &s = listing();
    // Without the printer set-up the button offers the page range only.
    const QString setupTip = !s.ShowSetup && s.ShowSelPag ? QStringLiteral("Páginas a Imprimir...")
                                                          : QStringLiteral("Seleccionar Impressora...");
    m_setupButton = toolbarButton("butSETUP", setupTip, printerSetupIcon(), 1, m_toolbar);
    m_printButton = toolbarButton("butPRT", QStringLiteral("Imprimir (Ctrl+P)"), printIcon(), 2, m_toolbar);
    m_findButton =
        toolbarButton("butFIND", QStringLiteral("Pesquisar... (Ctrl+F; seguinte F3, anterior Shift+F3)"),
                      findIcon(), 3, m_toolbar);
    m_pdfButton = toolbarButton("butPDF", QStringLiteral("Salvar como PDF..."), pdfIcon(), 4, m_toolbar);
    m_thumbButton = toolbarButton("butTHUMB", QStringLiteral("Miniaturas"), thumbnailsIcon(), 5, m_toolbar);
    m_thumbButton->setCheckable(true);
    connect(m_closeButton, &QToolButton::clicked, this, &QDialog::reject);
    connect(m_setupButton, &QToolButton::clicked, this, &PreviewWindow::setupRequested);
    connect(m_printButton, &QToolButton::clicked, this, &PreviewWindow::printRequested);
    connect(m_findButton, &QToolButton::clicked, this, &PreviewWindow::find);
    connect(m_pdfButton, &QToolButton::clicked, this, &PreviewWindow::savePdfRequested);
}

void PreviewWindow::buildPageNavigation()
{
    m_pagePanel = panel("PPag", m_toolbar);
    m_pagePanel->resize(twipsToPixels(PagePanelWidth), twipsToPixels(PagePanelHeight));
    m_firstPage = navigationButton("FstPag", "<<", "Primeira Página (Home)", 60, m_pagePanel);
    m_previousPage = navigationButton("bPag0", "<", "Página Anterior (PgUp)", 540, m_pagePanel);
    m_nextPage = navigationButton("bPag1", ">", "Página Seguinte (PgDown)", 1020, m_pagePanel);
    m_lastPage = navigationButton("LstPag", ">>", "Última Página (End)", 1500, m_pagePanel);
    m_pageLabel = new QLabel(m_pagePanel);
    m_pageLabel->setObjectName(QStringLiteral("LPag"));
    m_pageLabel->setAlignment(Qt::AlignCenter);
    m_pageLabel->setGeometry(twipsRect(0, 0, PagePanelWidth, PageLabelHeight + 45));
    QFont small = m_pageLabel->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_pageLabel->setFont(small);
    m_pageLabel->setToolTip(QStringLiteral("Ir para a página... (Ctrl+G)"));
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

void PreviewWindow::buildZoomPanel()
{
    m_zoomPanel = panel("PZoom", m_toolbar);
    m_zoomPanel->resize(twipsToPixels(ZoomPanelWidth), twipsToPixels(ZoomPanelHeight));
    auto *caption = new QLabel(QStringLiteral("Zoom"), m_zoomPanel);
    caption->setObjectName(QStringLiteral("Label1"));
    caption->setGeometry(twipsRect(60, 120, 495, 195));
    m_zoomBox = new ZoomBox(m_zoomPanel);
    m_zoomBox->setGeometry(twipsRect(600, 60, 615, 285));
    m_zoomBox->setPercent(std::round(listing().Zoom * 100));
    m_zoomBox->setToolTip(QStringLiteral("Zoom (+ e -, Ctrl+roda do rato; Ctrl+0 ajusta à janela)"));
    connect(m_zoomBox, &ZoomBox::zoomEntered, this, &PreviewWindow::applyZoom);
}

void PreviewWindow::buildKeyMap()
{
    const auto onKeys = [this](QKeyCombination keys, std::function<void()> action) {
        m_keyMap[keys.toCombined()] = std::move(action);
    };
    const auto clickIfShown = [](QAbstractButton *button) {
        return [button] {
            if (!button->isHidden() && button->isEnabled())
                button->click();
        };
    };
    const auto scroll = [](QScrollBar *bar, QAbstractSlider::SliderAction action) {
        return [bar, action] {
            if (bar->isEnabled())
                bar->triggerAction(action);
        };
    };
    onKeys(Qt::Key_PageUp, [this] { showPage(listing().CurPage - 1); });
    onKeys(Qt::Key_PageDown, [this] { showPage(listing().CurPage + 1); });
    onKeys(Qt::Key_Home, [this] { showPage(1); });
    onKeys(Qt::Key_End, [this] { showPage(listing().NumPages); });
    onKeys(Qt::Key_Up, scroll(m_vScroll, QAbstractSlider::SliderSingleStepSub));
    onKeys(Qt::Key_Down, scroll(m_vScroll, QAbstractSlider::SliderSingleStepAdd));
    onKeys(Qt::Key_Left, scroll(m_hScroll, QAbstractSlider::SliderSingleStepSub));
    onKeys(Qt::Key_Right, scroll(m_hScroll, QAbstractSlider::SliderSingleStepAdd));
    onKeys(Qt::Key_Plus, [this] { stepZoom(true); });
    onKeys(Qt::Key_Minus, [this] { stepZoom(false); });
    onKeys(Qt::CTRL | Qt::Key_0, [this] { fitPageToWindow(); });
    onKeys(Qt::CTRL | Qt::Key_P, clickIfShown(m_printButton));
    onKeys(Qt::CTRL | Qt::Key_F, clickIfShown(m_findButton));
    onKeys(Qt::Key_F3, [this] {
        if (!m_findButton->isHidden())
            findAgain(TextFinder::Direction::Forward);
    });
    onKeys(Qt::SHIFT | Qt::Key_F3, [this] {
        if (!m_findButton->isHidden())
            findAgain(TextFinder::Direction::Backward);
    });
    onKeys(Qt::CTRL | Qt::Key_G, [this] { m_goToPage->open(listing().CurPage); });
}

void PreviewWindow::buildThumbnails()
{
    m_thumbnails = new ThumbnailPanel(
        [this](int page, qreal devicePixelRatio) { return drawThumbnail(page, devicePixelRatio); }, this);
    m_thumbnails->hide();
    connect(m_thumbnails, &ThumbnailPanel::pageClicked, this, &PreviewWindow::showPage);
    connect(m_thumbButton, &QToolButton::toggled, this, &PreviewWindow::toggleThumbnails);
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

void PreviewWindow::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    layoutWindow();
}

void PreviewWindow::layoutWindow()
{
    if (isMinimized())
        return;
    m_desk->hide();
    const int toolbarHeight = twipsToPixels(ToolbarHeight);
    const int scrollBar = twipsToPixels(ScrollBarThickness);
    const int innerWidth = width();
    const int innerHeight = height();

    m_toolbar->setGeometry(0, 0, innerWidth, toolbarHeight);
    m_rule->setGeometry(0, toolbarHeight - 2, innerWidth, 2);
    // A narrow window keeps the panels right of the buttons, even past its edge.
    const int pagePanelLeft = std::max((innerWidth - m_pagePanel->width()) / 2, rightEdge(m_thumbButton));
    m_pagePanel->move(pagePanelLeft, twipsToPixels(PagePanelTop));
    const int zoomPanelLeft = std::max(innerWidth - scrollBar - m_zoomPanel->width(), rightEdge(m_pagePanel));
    m_zoomPanel->move(zoomPanelLeft, twipsToPixels(ZoomPanelTop));

    // The thumbnail panel, when shown, takes a strip at the left of the desk
    // and its scroll bar; the rest is laid out in what remains.
    const int panelWidth = m_thumbnails->isHidden() ? 0 : m_thumbnails->width();
    m_thumbnails->setGeometry(0, toolbarHeight, panelWidth, innerHeight - toolbarHeight);
    m_vScroll->setGeometry(innerWidth - scrollBar, toolbarHeight, scrollBar,
                           innerHeight - toolbarHeight - scrollBar);
    m_vScroll->setValue(0);
    m_hScroll->setGeometry(panelWidth, innerHeight - scrollBar, innerWidth - scrollBar - panelWidth,
                           scrollBar);
    m_hScroll->setValue(0);
    m_desk->setGeometry(panelWidth, toolbarHeight, innerWidth - scrollBar - panelWidth,
                        innerHeight - toolbarHeight - scrollBar);
    m_vScroll->setPageStep(m_desk->height());
    m_hScroll->setPageStep(m_desk->width());

    const ListingState &s = listing();
    if (s.Preview && s.ASizeOn)
        fitZoomToDesk();
    DIMWINDOW();
    m_desk->show();
}

void PreviewWindow::fitZoomToDesk()
{
    const PrinterDevice *printer = session().printer;
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

void PreviewWindow::DIMWINDOW()
{
    const PrinterDevice *printer = session().printer;
    if (!printer)
        return;
    ListingState &s = listing();
    const QSize pageSize = sheetPixels(printer->page(), s.Zoom);

    m_pageForm->hide();
    QPoint position;
    placePage(*m_hScroll, pageSize.width(), m_desk->width(), position.rx());
    placePage(*m_vScroll, pageSize.height(), m_desk->height(), position.ry());
    m_pageForm->setGeometry(QRect(position, pageSize));
    m_pageView->setGeometry(QRect(QPoint(0, 0), pageSize));
    resizePageImage(pageSize);
    // The picture shows the whole sheet, with 0 at the printable area's corner as on the printer.
    m_page.setScale(-s.OffX, -s.OffY, s.PageW - s.OffX, s.PageH - s.OffY);
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
    m_pageLabel->setText(QStringLiteral("Página %1 de %2").arg(s.CurPage).arg(s.NumPages));
    m_firstPage->setEnabled(s.CurPage != 1);
    m_previousPage->setEnabled(s.CurPage != 1);
    m_nextPage->setEnabled(s.CurPage != s.NumPages);
    m_lastPage->setEnabled(s.CurPage != s.NumPages);
    if (s.Surface == session().pageSurface)
        renderWithHighlights();
    m_pageView->update();
    if (!m_thumbnails->isHidden())
        m_thumbnails->setCurrentPage(s.CurPage);
    emit pageRendered(s.CurPage);
}

void PreviewWindow::renderWithHighlights()
{
    Session &session = quillet::session();
    // The marks last until the page changes: coming back shows none.
    if (m_found.page != session.state.CurPage)
        m_found.page = 0;
    QList<QRectF> boxes;
    if (m_found.page != 0 && m_found.matcher) {
        m_page.setTextObserver([&](std::string_view text, const QRectF &textBox) {
            if (const auto run = m_found.matcher->firstMatch(std::string(text)))
                boxes << runBox(m_page, text, textBox, *run);
        });
    }
    PageRenderer(session).render();
    m_page.setTextObserver({});
    if (m_found.indexOnPage == LastOnPage || m_found.indexOnPage >= boxes.size())
        m_found.indexOnPage = static_cast<int>(boxes.size()) - 1;
    m_pageView->setHighlights(boxes, m_found.indexOnPage);
}

void PreviewWindow::showPage(int page)
{
    ListingState &s = listing();
    if (page < 1 || page > s.NumPages || page == s.CurPage)
        return;
    s.CurPage = static_cast<int16_t>(page);
    renderPage();
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
    m_pageView->update();
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

void PreviewWindow::find()
{
    ListingState &s = listing();
    FindDialog dialog(this);
    HitCounter counter;
    connect(&counter, &HitCounter::counted, &dialog, &FindDialog::showHits);
    connect(&dialog, &FindDialog::searchChanged, &counter, [&](const QString &text, bool ignoreCase) {
        counter.cancel();
        if (text.isEmpty() || !session().spool)
            return;
        const bool onView = m_found.page != 0 && m_found.text == text && m_found.ignoreCase == ignoreCase;
        counter.start(session().spool->snapshot(s.PageIndex), s.NumPages, text, ignoreCase,
                      onView ? HitCounter::OnView{m_found.page, m_found.indexOnPage} : HitCounter::OnView{});
    });
    dialog.prepare(m_lastPattern.mid(1, m_lastPattern.size() - 2), s.CurPage + 1 <= s.NumPages,
                   !m_caseSensitive);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    counter.cancel();
    if (!accepted)
        return;
    const QString text = dialog.text();
    m_lastPattern = u'*' + text + u'*';
    m_caseSensitive = !dialog.ignoreCase();
    const int startPage = dialog.fromNextPage() ? s.CurPage + 1 : 1;

    if (const std::optional<int> page = m_finder.find(text, dialog.ignoreCase(), startPage)) {
        m_found = {TextMatcher::compile(text, dialog.ignoreCase()), text, dialog.ignoreCase(), *page, 0};
    } else {
        m_found.page = 0;
        QApplication::beep();
        QMessageBox::warning(this, QStringLiteral("Pesquisar..."),
                             u'"' + text + QStringLiteral("\" não foi encontrado !"));
    }
    for (QWidget *form : {m_desk, m_pageForm, static_cast<QWidget *>(m_pageView)})
        form->setEnabled(true);
    SetupSurface(session());
    DIMWINDOW();
    renderPage();
}

void PreviewWindow::findAgain(TextFinder::Direction direction)
{
    if (m_lastPattern.isEmpty()) {
        find();
        return;
    }
    ListingState &s = listing();
    const bool forward = direction == TextFinder::Direction::Forward;
    const int step = forward ? 1 : -1;
    int startPage = s.CurPage;
    if (m_found.page == s.CurPage) {
        // First the next hit on the page on view, then the pages beyond it.
        const int next = m_found.indexOnPage + step;
        if (next >= 0 && next < m_pageView->highlights().size()) {
            m_found.indexOnPage = next;
            m_pageView->setHighlights(m_pageView->highlights(), next);
            return;
        }
        startPage += step;
    }
    const QString text = m_lastPattern.mid(1, m_lastPattern.size() - 2);
    const std::optional<int> page =
        startPage >= 1 && startPage <= s.NumPages
            ? m_finder.find(text, !m_caseSensitive, startPage, direction)
            : std::nullopt;
    if (!page) {
        QApplication::beep();
        return;
    }
    m_found = {TextMatcher::compile(text, !m_caseSensitive), text, !m_caseSensitive, *page,
               forward ? 0 : LastOnPage};
    renderPage();
}

void PreviewWindow::wheelEvent(QWheelEvent *event)
{
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
}

void PreviewWindow::scrollOrTurnPage(int wheelAngle)
{
    QScrollBar &bar = *m_vScroll;
    const bool down = wheelAngle < 0;
    const bool atEdge =
        !bar.isEnabled() || (down ? bar.value() >= bar.maximum() : bar.value() <= bar.minimum());
    if (!atEdge) {
        bar.setValue(bar.value() -
                     wheelAngle * QApplication::wheelScrollLines() * bar.singleStep() / WheelAnglePerNotch);
        return;
    }
    // Past the page's edge: on to the next page from its top, or back to
    // the previous one at its bottom.
    const int page = listing().CurPage + (down ? 1 : -1);
    if (page < 1 || page > listing().NumPages)
        return;
    showPage(page);
    bar.setValue(down ? bar.minimum() : bar.maximum());
}

void PreviewWindow::toggleThumbnails(bool shown)
{
    const PrinterDevice *printer = session().printer;
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
    Session &session = quillet::session();
    ListingState &s = session.state;
    if (!session.printer || !s.Preview || s.Spooling || s.Surface != session.pageSurface || page < 1 ||
        page > s.NumPages)
        return {};
    const QSize picture = sheetPixels(session.printer->page(), ThumbnailZoom);
    m_thumbnailSurface->setPixelSize((QSizeF(picture) * devicePixelRatio).toSize(), devicePixelRatio);
    m_thumbnailSurface->setScale(-s.OffX, -s.OffY, s.PageW - s.OffX, s.PageH - s.OffY);
    // The commands draw on Surface at Zoom for CurPage: lend them the thumbnail.
    const ReplayScope replay(*m_thumbnailSurface, ThumbnailZoom);
    s.CurPage = static_cast<int16_t>(page);
    PageRenderer(session).render();
    return m_thumbnailSurface->image();
}

void PreviewWindow::keyPressEvent(QKeyEvent *event)
{
    // "+" and "-" are the same keys whether typed with Shift or on the keypad.
    Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Minus)
        modifiers &= ~Qt::ShiftModifier;
    const auto action = m_keyMap.find(QKeyCombination(modifiers, Qt::Key(event->key())).toCombined());
    if (action == m_keyMap.end()) {
        QDialog::keyPressEvent(event); // Escape closes
        return;
    }
    action->second();
}

bool PreviewWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pageLabel && event->type() == QEvent::MouseButtonPress) {
        m_goToPage->open(listing().CurPage);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PreviewWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_firstActivation) {
        m_firstActivation = false;
        activateWindow();
    }
}

void PreviewWindow::done(int result)
{
    unload();
    QDialog::done(result);
}

void PreviewWindow::closeEvent(QCloseEvent *event)
{
    // Closing is never refused.
    unload();
    event->accept();
    QDialog::closeEvent(event);
}

void PreviewWindow::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    Session &s = session();
    if (s.state.Surface == s.pageSurface)
        s.state.Surface = nullptr;
    closeSpool(s);
}

} // namespace quillet
