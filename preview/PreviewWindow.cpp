#include "preview/PreviewWindow.h"

#include "compose/Session.h"
#include "control/Twips.h"
#include "platform/ImageSurface.h"
#include "preview/PageView.h"
#include "print/PrinterDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QStyle>
#include <QToolButton>

namespace quillet {

namespace {
// Geometry in twips.
constexpr int ToolbarHeight = 660;
constexpr int ButtonTop = 45;
constexpr int ButtonWidth = 615;
constexpr int ButtonHeight = 555;
constexpr int CloseButtonLeft = 240;
constexpr int PageMargin = 200;
constexpr int InitialWidth = 12000;
constexpr int InitialHeight = 9000;
} // namespace

PreviewWindow::PreviewWindow(ImageSurface &page)
    : m_page(page), m_toolbar(new QWidget(this)), m_desk(new QWidget(this)), m_pageForm(new QWidget(m_desk)),
      m_pageView(new PageView(page, m_pageForm)), m_printerDialog(new PrinterDialog(this))
{
    setObjectName(QStringLiteral("ScrLst"));
    setWindowTitle(QCoreApplication::applicationName());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    m_toolbar->setObjectName(QStringLiteral("PTop"));
    m_desk->setObjectName(QStringLiteral("wFUNDO"));
    m_pageForm->setObjectName(QStringLiteral("Assist"));

    auto *close = new QToolButton(m_toolbar);
    close->setObjectName(QStringLiteral("butCAN"));
    close->setToolTip(QStringLiteral("Fechar"));
    close->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    close->setGeometry(twipsToPixels(CloseButtonLeft), twipsToPixels(ButtonTop), twipsToPixels(ButtonWidth),
                       twipsToPixels(ButtonHeight));
    connect(close, &QToolButton::clicked, this, &QDialog::reject);

    m_desk->setAutoFillBackground(true);
    m_desk->setBackgroundRole(QPalette::Dark);
    resize(twipsToPixels(InitialWidth), twipsToPixels(InitialHeight));
}

PreviewWindow::~PreviewWindow()
{
    unload();
}

void PreviewWindow::setPageSizeTwips(int widthTwips, int heightTwips)
{
    const QSize pixels(twipsToPixels(widthTwips), twipsToPixels(heightTwips));
    m_page.setPixelSize(pixels);
    m_pageForm->setGeometry(twipsToPixels(PageMargin), twipsToPixels(PageMargin), pixels.width(),
                            pixels.height());
    m_pageView->setGeometry(0, 0, pixels.width(), pixels.height());
}

void PreviewWindow::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    const int toolbarHeight = twipsToPixels(ToolbarHeight);
    m_toolbar->setGeometry(0, 0, width(), toolbarHeight);
    m_desk->setGeometry(0, toolbarHeight, width(), height() - toolbarHeight);
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
