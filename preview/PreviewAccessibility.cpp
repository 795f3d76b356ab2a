#include "preview/GoToPageBox.h"
#include "preview/PageDesk.h"
#include "preview/PageView.h"
#include "preview/PreviewWindow.h"
#include "preview/ZoomBox.h"
#include "preview/ZoomPanel.h"
#include "widgets/AccessibleText.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace quillet {

void PreviewWindow::describeForAssistiveTools()
{
    const ListingState &s = listing();
    const bool pageRangeOnly = !s.ShowSetup && s.ShowSelPag;
    // The window's name is its caption, the listing's name.
    setAccessibleTexts({
        {this, {}, tr("Pré-visualização da listagem, uma página de cada vez")},
        {m_closeButton, tr("Fechar"), tr("Fecha a pré-visualização (Esc)")},
        {m_setupButton, pageRangeOnly ? tr("Páginas a Imprimir") : tr("Seleccionar Impressora"),
         pageRangeOnly ? tr("Escolhe as páginas a imprimir")
                       : tr("Escolhe a impressora, o papel e as páginas")},
        {m_printButton, tr("Imprimir"), tr("Imprime a listagem (Ctrl+P)")},
        {m_findButton, tr("Pesquisar"),
         tr("Procura um texto nas páginas (Ctrl+F; seguinte F3, anterior Shift+F3)")},
        {m_pdfButton, tr("Salvar como PDF"), tr("Guarda a listagem num ficheiro PDF")},
        {m_thumbButton, tr("Miniaturas"),
         tr("Mostra ou esconde as miniaturas das páginas ao lado da página")},
        {m_firstPage, tr("Primeira Página"), tr("Mostra a primeira página (Home)")},
        {m_previousPage, tr("Página Anterior"), tr("Mostra a página anterior (PgUp)")},
        {m_nextPage, tr("Página Seguinte"), tr("Mostra a página seguinte (PgDown)")},
        {m_lastPage, tr("Última Página"), tr("Mostra a última página (End)")},
        {m_pageLabel, {}, tr("Página em vista; Enter ou Ctrl+G para ir para outra página")},
        {m_goToPage, tr("Ir para a página"),
         tr("Número da página a mostrar; Enter para ir, Esc para desistir")},
    });
}

void PreviewWindow::orderTabStops()
{
    // The page label opens the page box on Enter (eventFilter); the box, shown
    // in its place, follows it, so leaving the box goes on to the page.
    m_pageLabel->setFocusPolicy(Qt::TabFocus);
    QWidget *const stops[] = {m_closeButton, m_setupButton, m_printButton,  m_findButton, m_pdfButton,
                              m_thumbButton, m_firstPage,   m_previousPage, m_nextPage,   m_lastPage,
                              m_pageLabel,   m_goToPage,    &m_desk->pageView(), &m_zoom->box()};
    for (std::size_t i = 1; i < std::size(stops); ++i)
        setTabOrder(stops[i - 1], stops[i]);
}

} // namespace quillet
