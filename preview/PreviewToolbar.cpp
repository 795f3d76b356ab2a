#include "preview/PreviewToolbar.h"

#include "compose/ListingState.h"
#include "preview/PreviewLayout.h"
#include "preview/ToolbarIcons.h"
#include "widgets/AccessibleText.h"
#include "widgets/Translation.h"

#include <QToolButton>

#include <initializer_list>

namespace quillet {

using namespace preview_layout;

namespace {

/// toolTip is marked with QT_TR_NOOP where this is called.
QToolButton *toolbarButton(const char *name, const char *toolTip, const QIcon &icon, int slot,
                           QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    translated(*button, [button, toolTip] { button->setToolTip(PreviewToolbar::tr(toolTip)); });
    button->setIcon(icon);
    button->setIconSize(QSize(24, 24));
    button->setFocusPolicy(Qt::StrongFocus); // a click takes the focus and so validates the zoom box
    button->setGeometry(twipsRect(FirstButtonLeft + slot * ButtonSlot, ButtonTop, ButtonWidth, ButtonHeight));
    return button;
}

/// Closes the gap a hidden button leaves: the buttons after it move one slot left.
void moveLeftOneSlot(std::initializer_list<QWidget *> buttons)
{
    for (QWidget *button : buttons)
        button->move(button->x() - twipsToPixels(ButtonSlot), button->y());
}

/// Without the printer set-up the set-up button offers the page range only.
bool offersPageRangeOnly(const ListingState &s)
{
    return !s.ShowSetup && s.ShowSelPag;
}

} // namespace

PreviewToolbar::PreviewToolbar(const ListingState &listing, QWidget *parent) : QFrame(parent)
{
    makePanel(*this, "PTop");
    setAutoFillBackground(true);
    m_rule = new QFrame(this);
    m_rule->setObjectName(QStringLiteral("LTop"));
    m_rule->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    const bool pageRangeOnly = offersPageRangeOnly(listing);
    m_closeButton = toolbarButton("butCAN", QT_TR_NOOP("Fechar (Esc)"), closeIcon(), 0, this);
    const char *setupTip =
        pageRangeOnly ? QT_TR_NOOP("Páginas a Imprimir...") : QT_TR_NOOP("Seleccionar Impressora...");
    m_setupButton = toolbarButton("butSETUP", setupTip, printerSetupIcon(), 1, this);
    m_printButton = toolbarButton("butPRT", QT_TR_NOOP("Imprimir (Ctrl+P)"), printIcon(), 2, this);
    m_findButton = toolbarButton(
        "butFIND", QT_TR_NOOP("Pesquisar... (Ctrl+F; seguinte F3, anterior Shift+F3)"), findIcon(), 3, this);
    m_pdfButton = toolbarButton("butPDF", QT_TR_NOOP("Guardar como PDF..."), pdfIcon(), 4, this);
    m_thumbButton = toolbarButton("butTHUMB", QT_TR_NOOP("Miniaturas"), thumbnailsIcon(), 5, this);
    m_thumbButton->setCheckable(true);
    connect(m_closeButton, &QToolButton::clicked, this, &PreviewToolbar::closeClicked);
    connect(m_setupButton, &QToolButton::clicked, this, &PreviewToolbar::setupClicked);
    connect(m_printButton, &QToolButton::clicked, this, &PreviewToolbar::printClicked);
    connect(m_findButton, &QToolButton::clicked, this, &PreviewToolbar::findClicked);
    connect(m_pdfButton, &QToolButton::clicked, this, &PreviewToolbar::pdfClicked);
    connect(m_thumbButton, &QToolButton::toggled, this, &PreviewToolbar::thumbnailsToggled);
    hideSwitchedOffButtons(listing);
    translated(*this, [this, pageRangeOnly] { describeForAssistiveTools(pageRangeOnly); });
}

void PreviewToolbar::hideSwitchedOffButtons(const ListingState &s)
{
    // A hidden button also moves one slot left, so the page panel, which
    // follows the last button of the row, stands right of the last one shown.
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

void PreviewToolbar::describeForAssistiveTools(bool pageRangeOnly)
{
    setAccessibleTexts({
        {m_closeButton, tr("Fechar"), tr("Fecha a pré-visualização (Esc)")},
        {m_setupButton, pageRangeOnly ? tr("Páginas a Imprimir") : tr("Seleccionar Impressora"),
         pageRangeOnly ? tr("Escolhe as páginas a imprimir")
                       : tr("Escolhe a impressora, o papel e as páginas")},
        {m_printButton, tr("Imprimir"), tr("Imprime a listagem (Ctrl+P)")},
        {m_findButton, tr("Pesquisar"),
         tr("Procura um texto nas páginas (Ctrl+F; seguinte F3, anterior Shift+F3)")},
        {m_pdfButton, tr("Guardar como PDF"), tr("Guarda a listagem num ficheiro PDF")},
        {m_thumbButton, tr("Miniaturas"),
         tr("Mostra ou esconde as miniaturas das páginas ao lado da página")},
    });
}

void PreviewToolbar::stretchTo(int width)
{
    const int height = twipsToPixels(ToolbarHeight);
    setGeometry(0, 0, width, height);
    m_rule->setGeometry(0, height - 2, width, 2);
}

int PreviewToolbar::buttonsRight() const
{
    return rightEdge(m_thumbButton);
}

QList<QWidget *> PreviewToolbar::tabStops() const
{
    return {m_closeButton, m_setupButton, m_printButton, m_findButton, m_pdfButton, m_thumbButton};
}

} // namespace quillet
