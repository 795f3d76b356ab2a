#include "preview/PreviewWindow.h"

#include "compose/Session.h"
#include "control/Twips.h"
#include "platform/ImageSurface.h"
#include "preview/FindDialog.h"
#include "preview/PageView.h"
#include "preview/PaintPattern.h"
#include "preview/SelectAllText.h"
#include "preview/TextFinder.h"
#include "preview/ToolbarIcons.h"
#include "preview/ZoomBox.h"
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

#include <cmath>
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

void moveLeftOneSlot(QWidget *button)
{
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
      m_printerDialog(new PrinterDialog(this))
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
    m_closeButton = toolbarButton("butCAN", QStringLiteral("Fechar"), closeIcon(), 0, m_toolbar);
    const ListingState &s = listing();
    // Without the printer set-up the button offers the page range only.
    const QString setupTip = !s.ShowSetup && s.ShowSelPag ? QStringLiteral("Páginas a Imprimir...")
                                                          : QStringLiteral("Seleccionar Impressora...");
    m_setupButton = toolbarButton("butSETUP", setupTip, printerSetupIcon(), 1, m_toolbar);
    m_printButton = toolbarButton("butPRT", QStringLiteral("Imprimir"), printIcon(), 2, m_toolbar);
    m_findButton = toolbarButton("butFIND", QStringLiteral("Pesquisar..."), findIcon(), 3, m_toolbar);
    connect(m_closeButton, &QToolButton::clicked, this, &QDialog::reject);
    connect(m_setupButton, &QToolButton::clicked, this, &PreviewWindow::setupRequested);
    connect(m_printButton, &QToolButton::clicked, this, &PreviewWindow::printRequested);
    connect(m_findButton, &QToolButton::clicked, this, &PreviewWindow::find);
}

void PreviewWindow::buildPageNavigation()
{
    m_pagePanel = panel("PPag", m_toolbar);
    m_pagePanel->resize(twipsToPixels(PagePanelWidth), twipsToPixels(PagePanelHeight));
    m_firstPage = navigationButton("FstPag", "<<", "Primeira Página", 60, m_pagePanel);
    m_previousPage = navigationButton("bPag0", "<", "Página Anterior", 540, m_pagePanel);
    m_nextPage = navigationButton("bPag1", ">", "Página Seguinte", 1020, m_pagePanel);
    m_lastPage = navigationButton("LstPag", ">>", "Última Página", 1500, m_pagePanel);
    m_pageLabel = new QLabel(m_pagePanel);
    m_pageLabel->setObjectName(QStringLiteral("LPag"));
    m_pageLabel->setAlignment(Qt::AlignCenter);
    m_pageLabel->setGeometry(twipsRect(0, 0, PagePanelWidth, PageLabelHeight + 45));
    QFont small = m_pageLabel->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_pageLabel->setFont(small);

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
    connect(m_zoomBox, &ZoomBox::zoomEntered, this, &PreviewWindow::applyZoom);
}

void PreviewWindow::hideSwitchedOffButtons()
{
    const ListingState &s = listing();
    if (!s.ShowSetup && !s.ShowSelPag) {
        m_setupButton->hide();
        moveLeftOneSlot(m_printButton);
        moveLeftOneSlot(m_findButton);
    }
    if (!s.ShowPrint) {
        m_printButton->hide();
        moveLeftOneSlot(m_findButton);
    }
    if (!s.ShowFind) {
        m_findButton->hide();
        moveLeftOneSlot(m_findButton); // the page panel's place follows it
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
    const int pagePanelLeft = std::max((innerWidth - m_pagePanel->width()) / 2, rightEdge(m_findButton));
    m_pagePanel->move(pagePanelLeft, twipsToPixels(PagePanelTop));
    const int zoomPanelLeft = std::max(innerWidth - scrollBar - m_zoomPanel->width(), rightEdge(m_pagePanel));
    m_zoomPanel->move(zoomPanelLeft, twipsToPixels(ZoomPanelTop));

    m_vScroll->setGeometry(innerWidth - scrollBar, toolbarHeight, scrollBar,
                           innerHeight - toolbarHeight - scrollBar);
    m_vScroll->setValue(0);
    m_hScroll->setGeometry(0, innerHeight - scrollBar, innerWidth - scrollBar, scrollBar);
    m_hScroll->setValue(0);
    m_desk->setGeometry(0, toolbarHeight, innerWidth - scrollBar, innerHeight - toolbarHeight - scrollBar);
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
    const PrinterPage paper = printer->page();
    const auto pixels = [zoom = double(s.Zoom)](int twips) {
        const double size = std::round(zoom * twips / TwipsPerPixel);
        return std::isfinite(size) ? static_cast<int>(std::clamp(size, 0.0, double(QWIDGETSIZE_MAX))) : 0;
    };
    const QSize pageSize(pixels(paper.paperWidthTwips), pixels(paper.paperHeightTwips));

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
        PageRenderer(session()).render();
    m_pageView->update();
    emit pageRendered(s.CurPage);
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
    ListingState &s = listing();
    if (button == Qt::LeftButton) {
        if (s.Zoom == MinZoom)
            return;
        m_lastZoomButton = button;
        if (m_zoomBox->value() > MinPercent)
            m_zoomBox->setPercent(m_zoomBox->value() - ZoomStepPercent);
        if (m_zoomBox->value() < MinPercent)
            m_zoomBox->setPercent(MinPercent);
    } else if (button == Qt::RightButton) {
        if (s.Zoom == MaxZoom)
            return;
        m_lastZoomButton = button;
        if (m_zoomBox->value() < MaxPercent)
            m_zoomBox->setPercent(m_zoomBox->value() + ZoomStepPercent);
        if (m_zoomBox->value() > MaxPercent)
            m_zoomBox->setPercent(MaxPercent);
    } else {
        m_lastZoomButton = Qt::NoButton;
        return;
    }
    s.Zoom = static_cast<float>(m_zoomBox->value()) / 100;
    DIMWINDOW();
    m_pageView->update();
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
    dialog.prepare(m_lastPattern.mid(1, m_lastPattern.size() - 2), s.CurPage + 1 <= s.NumPages,
                   !m_caseSensitive);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString text = dialog.text();
    m_lastPattern = u'*' + text + u'*';
    m_caseSensitive = !dialog.ignoreCase();
    const int startPage = dialog.fromNextPage() ? s.CurPage + 1 : 1;

    if (!TextFinder(session()).find(text, dialog.ignoreCase(), startPage)) {
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

void PreviewWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_firstActivation) {
        m_firstActivation = false;
        activateWindow();
    }
}

void PreviewWindow::keyPressEvent(QKeyEvent *event)
{
    // Escape does not close the preview: that would end the listing unasked.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
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
