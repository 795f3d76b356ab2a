#include "preview/PageNavigation.h"

#include "base/ErrorsIgnored.h"
#include "compose/ListingState.h"
#include "preview/GoToPageBox.h"
#include "preview/PageLabel.h"
#include "preview/PreviewLayout.h"
#include "widgets/AccessibleText.h"
#include "widgets/Translation.h"

#include <QKeyEvent>
#include <QPushButton>

#include <algorithm>

namespace quillet {

using namespace preview_layout;

namespace {

/// toolTip is marked with QT_TR_NOOP where this is called.
QPushButton *navigationButton(const char *name, const char *caption, const char *toolTip, int left,
                              QWidget *parent)
{
    auto *button = new QPushButton(QLatin1String(caption), parent);
    button->setObjectName(QLatin1String(name));
    translated(*button, [button, toolTip] { button->setToolTip(PageNavigation::tr(toolTip)); });
    button->setAutoDefault(false);
    button->setGeometry(twipsRect(left, NavigationTop, NavigationWidth, NavigationHeight));
    return button;
}

} // namespace

PageNavigation::PageNavigation(const ListingState &listing, QWidget *parent)
    : QFrame(parent), m_listing(listing)
{
    makePanel(*this, "PPag");
    resize(twipsToPixels(PagePanelWidth), twipsToPixels(PagePanelHeight));
    m_firstPage = navigationButton("FstPag", "<<", QT_TR_NOOP("Primeira Página (Home)"), 60, this);
    m_previousPage = navigationButton("bPag0", "<", QT_TR_NOOP("Página Anterior (PgUp)"), 540, this);
    m_nextPage = navigationButton("bPag1", ">", QT_TR_NOOP("Página Seguinte (PgDown)"), 1020, this);
    m_lastPage = navigationButton("LstPag", ">>", QT_TR_NOOP("Última Página (End)"), 1500, this);
    m_pageLabel = new PageLabel(this);
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
    // The label opens the page box on Enter (eventFilter); the box, shown in
    // its place, follows it in the tab order.
    m_pageLabel->setFocusPolicy(Qt::TabFocus);
    m_pageLabel->installEventFilter(this);
    m_goToPage = new GoToPageBox(*m_pageLabel);
    connect(m_goToPage, &GoToPageBox::closed, this, &PageNavigation::doneWithKeys);
    connect(m_goToPage, &GoToPageBox::pageEntered, this, [this](int page) {
        emit pageRequested(std::clamp(page, 1, std::max(1, int(m_listing.NumPages))));
    });

    connect(m_firstPage, &QPushButton::clicked, this, [this] { emit pageRequested(1); });
    connect(m_previousPage, &QPushButton::clicked, this,
            [this] { emit pageRequested(m_listing.CurPage - 1); });
    connect(m_nextPage, &QPushButton::clicked, this, [this] { emit pageRequested(m_listing.CurPage + 1); });
    connect(m_lastPage, &QPushButton::clicked, this, [this] { emit pageRequested(m_listing.NumPages); });
    translated(*this, [this] { describeForAssistiveTools(); });
}

void PageNavigation::describeForAssistiveTools()
{
    setAccessibleTexts({
        {m_firstPage, tr("Primeira Página"), tr("Mostra a primeira página (Home)")},
        {m_previousPage, tr("Página Anterior"), tr("Mostra a página anterior (PgUp)")},
        {m_nextPage, tr("Página Seguinte"), tr("Mostra a página seguinte (PgDown)")},
        {m_lastPage, tr("Última Página"), tr("Mostra a última página (End)")},
        {m_pageLabel, {}, tr("Página em vista; Enter ou Ctrl+G para ir para outra página")},
        {m_goToPage, tr("Ir para a página"),
         tr("Número da página a mostrar; Enter para ir, Esc para desistir")},
    });
}

void PageNavigation::showCurrentPage()
{
    const ListingState &s = m_listing;
    writePageLabel();
    m_firstPage->setEnabled(s.CurPage != 1);
    m_previousPage->setEnabled(s.CurPage != 1);
    m_nextPage->setEnabled(s.CurPage != s.NumPages);
    m_lastPage->setEnabled(s.CurPage != s.NumPages);
}

void PageNavigation::writePageLabel()
{
    m_pageLabel->setText(tr("Página %1 de %2").arg(m_listing.CurPage).arg(m_listing.NumPages));
    emit labelWritten(m_pageLabel->text());
}

void PageNavigation::openGoToPage()
{
    m_goToPage->open(m_listing.CurPage);
}

QList<QWidget *> PageNavigation::tabStops() const
{
    return {m_firstPage, m_previousPage, m_nextPage, m_lastPage, m_pageLabel, m_goToPage};
}

bool PageNavigation::eventFilter(QObject *watched, QEvent *event)
{
    return ignoringErrors(false, [&] {
        if (watched == m_pageLabel) {
            const QEvent::Type type = event->type();
            const int key = type == QEvent::KeyPress ? static_cast<QKeyEvent *>(event)->key() : 0;
            if (type == QEvent::MouseButtonPress || key == Qt::Key_Return || key == Qt::Key_Enter ||
                key == Qt::Key_Space) {
                openGoToPage();
                return true;
            }
            // The label draws no focus of its own: a frame shows where Tab is.
            if (type == QEvent::FocusIn || type == QEvent::FocusOut)
                m_pageLabel->setFrameShape(type == QEvent::FocusIn ? QFrame::Box : QFrame::NoFrame);
        }
        return QFrame::eventFilter(watched, event);
    });
}

} // namespace quillet
