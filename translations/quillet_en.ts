<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="pt">
<context>
    <name>quillet::BookletTab</name>
    <message>
        <source>Imprimir como folheto</source>
        <translation>Print as a booklet</translation>
    </message>
    <message>
        <source>Folheto</source>
        <translation>Booklet</translation>
    </message>
    <message>
        <source>Duas páginas de cada lado da folha, pela ordem em que se lêem depois de dobradas. Imprima frente e verso, virando pela margem curta.</source>
        <translation>Two pages on each side of the sheet, in the order they read once folded. Print on both sides, flipping on the short edge.</translation>
    </message>
</context>
<context>
    <name>quillet::FindDialog</name>
    <message>
        <source>Ignorar Maiúsculas / Minúsculas</source>
        <translation>Ignore Case</translation>
    </message>
    <message>
        <source>1º Página</source>
        <translation>First Page</translation>
    </message>
    <message>
        <source>Página Seguinte</source>
        <translation>Next Page</translation>
    </message>
    <message>
        <source>Pesquisar...</source>
        <translation>Search...</translation>
    </message>
    <message>
        <source>Procurar:</source>
        <translation>Find:</translation>
    </message>
    <message>
        <source>Desde:</source>
        <translation>From:</translation>
    </message>
    <message>
        <source>Aceitar</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1 de %2%3</source>
        <translation>%1 of %2%3</translation>
    </message>
    <message>
        <source>Procura um texto nas páginas da listagem</source>
        <translation>Finds a text in the listing&apos;s pages</translation>
    </message>
    <message>
        <source>Legenda da caixa do texto a procurar</source>
        <translation>Caption of the box of the text to find</translation>
    </message>
    <message>
        <source>Procurar</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>Texto a procurar, até 50 caracteres</source>
        <translation>Text to find, up to 50 characters</translation>
    </message>
    <message>
        <source>Encontra o texto esteja escrito em maiúsculas ou em minúsculas</source>
        <translation>Finds the text whether it is written in upper or lower case</translation>
    </message>
    <message>
        <source>Legenda da página onde a pesquisa começa</source>
        <translation>Caption of the page where the search starts</translation>
    </message>
    <message>
        <source>Começa a pesquisa na primeira página</source>
        <translation>Starts the search on the first page</translation>
    </message>
    <message>
        <source>Começa a pesquisa na página seguinte à que está em vista</source>
        <translation>Starts the search on the page after the one in view</translation>
    </message>
    <message>
        <source>Ocorrências</source>
        <translation>Matches</translation>
    </message>
    <message>
        <source>A ocorrência em vista e quantas há</source>
        <translation>The match in view and how many there are</translation>
    </message>
    <message>
        <source>Procura o texto</source>
        <translation>Finds the text</translation>
    </message>
    <message>
        <source>Fecha sem procurar</source>
        <translation>Closes without finding</translation>
    </message>
    <message>
        <source>Ignorar Acentos</source>
        <translation>Ignore accents</translation>
    </message>
    <message>
        <source>Encontra o texto esteja escrito com acentos ou sem eles</source>
        <translation>Finds the text whether it is written with accents or without them</translation>
    </message>
</context>
<context>
    <name>quillet::GoToPageBox</name>
    <message>
        <source>Número da página; Enter para ir</source>
        <translation>Page number; Enter to go</translation>
    </message>
</context>
<context>
    <name>quillet::PageDesk</name>
    <message>
        <source>A página em vista; + e - mudam o zoom, as setas deslocam-na, PgUp e PgDown mudam de página</source>
        <translation>The page in view; + and - change the zoom, the arrows move it, PgUp and PgDown change the page</translation>
    </message>
    <message>
        <source>Deslocamento horizontal</source>
        <translation>Horizontal scrolling</translation>
    </message>
    <message>
        <source>Desloca a página na horizontal (setas esquerda e direita)</source>
        <translation>Moves the page horizontally (left and right arrows)</translation>
    </message>
    <message>
        <source>Deslocamento vertical</source>
        <translation>Vertical scrolling</translation>
    </message>
    <message>
        <source>Desloca a página na vertical (setas acima e abaixo)</source>
        <translation>Moves the page vertically (up and down arrows)</translation>
    </message>
</context>
<context>
    <name>quillet::PageNavigation</name>
    <message>
        <source>Primeira Página (Home)</source>
        <translation>First Page (Home)</translation>
    </message>
    <message>
        <source>Página Anterior (PgUp)</source>
        <translation>Previous Page (PgUp)</translation>
    </message>
    <message>
        <source>Página Seguinte (PgDown)</source>
        <translation>Next Page (PgDown)</translation>
    </message>
    <message>
        <source>Última Página (End)</source>
        <translation>Last Page (End)</translation>
    </message>
    <message>
        <source>Ir para a página... (Ctrl+G)</source>
        <translation>Go to page... (Ctrl+G)</translation>
    </message>
    <message>
        <source>Primeira Página</source>
        <translation>First Page</translation>
    </message>
    <message>
        <source>Mostra a primeira página (Home)</source>
        <translation>Shows the first page (Home)</translation>
    </message>
    <message>
        <source>Página Anterior</source>
        <translation>Previous Page</translation>
    </message>
    <message>
        <source>Mostra a página anterior (PgUp)</source>
        <translation>Shows the previous page (PgUp)</translation>
    </message>
    <message>
        <source>Página Seguinte</source>
        <translation>Next Page</translation>
    </message>
    <message>
        <source>Mostra a página seguinte (PgDown)</source>
        <translation>Shows the next page (PgDown)</translation>
    </message>
    <message>
        <source>Última Página</source>
        <translation>Last Page</translation>
    </message>
    <message>
        <source>Mostra a última página (End)</source>
        <translation>Shows the last page (End)</translation>
    </message>
    <message>
        <source>Página em vista; Enter ou Ctrl+G para ir para outra página</source>
        <translation>Page in view; Enter or Ctrl+G to go to another page</translation>
    </message>
    <message>
        <source>Ir para a página</source>
        <translation>Go to page</translation>
    </message>
    <message>
        <source>Número da página a mostrar; Enter para ir, Esc para desistir</source>
        <translation>Number of the page to show; Enter to go, Esc to give up</translation>
    </message>
    <message>
        <source>Página %1 de %2</source>
        <translation>Page %1 of %2</translation>
    </message>
</context>
<context>
    <name>quillet::PageRangeDialog</name>
    <message>
        <source>Falta uma página entre as vírgulas.</source>
        <translation>A page is missing between the commas.</translation>
    </message>
    <message>
        <source>Um intervalo vai da menor à maior página.</source>
        <translation>A range goes from the lower to the higher page.</translation>
    </message>
    <message>
        <source>Escreva as páginas assim: 1-3,7,10-</source>
        <translation>Write the pages like this: 1-3,7,10-</translation>
    </message>
    <message>
        <source>Páginas a Imprimir...</source>
        <translation>Pages to Print...</translation>
    </message>
    <message>
        <source>Todas as Páginas</source>
        <translation>All Pages</translation>
    </message>
    <message>
        <source>Desde</source>
        <translation>From</translation>
    </message>
    <message>
        <source>até</source>
        <translation>to</translation>
    </message>
    <message>
        <source>Páginas</source>
        <translation>Pages</translation>
    </message>
    <message>
        <source>ex.: 1-3,7,10-</source>
        <translation>e.g. 1-3,7,10-</translation>
    </message>
    <message>
        <source>Aceitar</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Escolhe as páginas da listagem a imprimir</source>
        <translation>Chooses the listing&apos;s pages to print</translation>
    </message>
    <message>
        <source>Imprime todas as páginas</source>
        <translation>Prints every page</translation>
    </message>
    <message>
        <source>Desde a página</source>
        <translation>From page</translation>
    </message>
    <message>
        <source>Primeira página do intervalo</source>
        <translation>First page of the range</translation>
    </message>
    <message>
        <source>Legenda da última página do intervalo</source>
        <translation>Caption of the range&apos;s last page</translation>
    </message>
    <message>
        <source>Até à página</source>
        <translation>To page</translation>
    </message>
    <message>
        <source>Última página do intervalo</source>
        <translation>Last page of the range</translation>
    </message>
    <message>
        <source>Problema da lista de páginas</source>
        <translation>Problem of the page list</translation>
    </message>
    <message>
        <source>O que está errado na lista de páginas</source>
        <translation>What is wrong in the page list</translation>
    </message>
    <message>
        <source>Imprime as páginas escolhidas</source>
        <translation>Prints the chosen pages</translation>
    </message>
    <message>
        <source>Fecha sem imprimir</source>
        <translation>Closes without printing</translation>
    </message>
    <message>
        <source>Imprime as páginas de um intervalo</source>
        <translation>Prints the pages of a range</translation>
    </message>
    <message>
        <source>Imprime as páginas de uma lista</source>
        <translation>Prints the pages of a list</translation>
    </message>
    <message>
        <source>Páginas e intervalos separados por vírgulas, por exemplo 1-3,7,10-</source>
        <translation>Pages and ranges separated by commas, for example 1-3,7,10-</translation>
    </message>
</context>
<context>
    <name>quillet::PageThumbnails</name>
    <message>
        <source>Miniaturas</source>
        <translation>Thumbnails</translation>
    </message>
    <message>
        <source>Uma miniatura por página; um clique mostra essa página</source>
        <translation>One thumbnail a page; a click shows that page</translation>
    </message>
</context>
<context>
    <name>quillet::PdfExport</name>
    <message>
        <source>Listagem</source>
        <translation>Listing</translation>
    </message>
    <message>
        <source>Guardar como PDF...</source>
        <translation>Save as PDF...</translation>
    </message>
    <message>
        <source>Guardando PDF...</source>
        <translation>Saving PDF...</translation>
    </message>
    <message>
        <source>Páginas a Guardar...</source>
        <translation>Pages to Save...</translation>
    </message>
    <message>
        <source>A listagem foi guardada em %1.</source>
        <translation>The listing was saved to %1.</translation>
    </message>
    <message>
        <source>Guardar como PDF</source>
        <translation>Save as PDF</translation>
    </message>
    <message>
        <source>Não foi possível guardar a listagem em %1.</source>
        <translation>The listing could not be saved to %1.</translation>
    </message>
</context>
<context>
    <name>quillet::PreviewFinder</name>
    <message>
        <source>Pesquisar...</source>
        <translation>Search...</translation>
    </message>
    <message>
        <source>&quot;%1&quot; não foi encontrado !</source>
        <translation>&quot;%1&quot; was not found!</translation>
    </message>
</context>
<context>
    <name>quillet::PreviewToolbar</name>
    <message>
        <source>Fechar (Esc)</source>
        <translation>Close (Esc)</translation>
    </message>
    <message>
        <source>Páginas a Imprimir...</source>
        <translation>Pages to Print...</translation>
    </message>
    <message>
        <source>Seleccionar Impressora...</source>
        <translation>Select Printer...</translation>
    </message>
    <message>
        <source>Imprimir (Ctrl+P)</source>
        <translation>Print (Ctrl+P)</translation>
    </message>
    <message>
        <source>Pesquisar... (Ctrl+F; seguinte F3, anterior Shift+F3)</source>
        <translation>Search... (Ctrl+F; next F3, previous Shift+F3)</translation>
    </message>
    <message>
        <source>Miniaturas</source>
        <translation>Thumbnails</translation>
    </message>
    <message>
        <source>Fechar</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Fecha a pré-visualização (Esc)</source>
        <translation>Closes the preview (Esc)</translation>
    </message>
    <message>
        <source>Páginas a Imprimir</source>
        <translation>Pages to Print</translation>
    </message>
    <message>
        <source>Seleccionar Impressora</source>
        <translation>Select Printer</translation>
    </message>
    <message>
        <source>Escolhe as páginas a imprimir</source>
        <translation>Chooses the pages to print</translation>
    </message>
    <message>
        <source>Escolhe a impressora, o papel e as páginas</source>
        <translation>Chooses the printer, the paper and the pages</translation>
    </message>
    <message>
        <source>Imprimir</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Imprime a listagem (Ctrl+P)</source>
        <translation>Prints the listing (Ctrl+P)</translation>
    </message>
    <message>
        <source>Pesquisar</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Procura um texto nas páginas (Ctrl+F; seguinte F3, anterior Shift+F3)</source>
        <translation>Finds a text in the pages (Ctrl+F; next F3, previous Shift+F3)</translation>
    </message>
    <message>
        <source>Guarda a listagem num ficheiro PDF</source>
        <translation>Saves the listing in a PDF file</translation>
    </message>
    <message>
        <source>Mostra ou esconde as miniaturas das páginas ao lado da página</source>
        <translation>Shows or hides the page thumbnails beside the page</translation>
    </message>
    <message>
        <source>Guardar como PDF...</source>
        <translation>Save as PDF...</translation>
    </message>
    <message>
        <source>Guardar como PDF</source>
        <translation>Save as PDF</translation>
    </message>
</context>
<context>
    <name>quillet::PreviewWindow</name>
    <message>
        <source>Pré-visualização da listagem, uma página de cada vez</source>
        <translation>Preview of the listing, one page at a time</translation>
    </message>
</context>
<context>
    <name>quillet::PrintJob</name>
    <message>
        <source>Não foi possível imprimir a listagem: %1.</source>
        <translation>The listing could not be printed: %1.</translation>
    </message>
    <message>
        <source>Não foi possível imprimir a listagem em %1: %2.</source>
        <translation>The listing could not be printed on %1: %2.</translation>
    </message>
    <message>
        <source>

A listagem ficou guardada em %1.</source>
        <translation>

The listing was kept in %1.</translation>
    </message>
    <message>
        <source>Imprimir</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Imprimindo...</source>
        <translation>Printing...</translation>
    </message>
    <message>
        <source>A impressão foi cancelada: nada foi enviado para a impressora.</source>
        <translation>Printing was cancelled: nothing was sent to the printer.</translation>
    </message>
    <message>
        <source>A impressão foi cancelada, mas as páginas já enviadas para a impressora ainda podem sair.</source>
        <translation>Printing was cancelled, but the pages already sent to the printer may still come out.</translation>
    </message>
    <message>
        <source>A listagem foi enviada para a impressora %1.</source>
        <translation>The listing was sent to the printer %1.</translation>
    </message>
</context>
<context>
    <name>quillet::PrinterDialog</name>
    <message>
        <source>Escolher</source>
        <translation>Choose</translation>
    </message>
</context>
<context>
    <name>quillet::PrinterSetup</name>
    <message>
        <source>Seleccionar Impressora</source>
        <translation>Select Printer</translation>
    </message>
    <message>
        <source>Não foi possível mostrar as impressoras: %1.</source>
        <translation>The printers could not be shown: %1.</translation>
    </message>
</context>
<context>
    <name>quillet::QtPrinterDevice</name>
    <message>
        <source>não foi possível escrever o PDF temporário</source>
        <translation>the temporary PDF could not be written</translation>
    </message>
</context>
<context>
    <name>quillet::WaitDialog</name>
    <message>
        <source>Página %1 de %2 Páginas</source>
        <translation>Page %1 of %2 Pages</translation>
    </message>
    <message>
        <source>Página %1 de %2 Página</source>
        <translation>Page %1 of %2 Page</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Compondo a Listagem...</source>
        <translation>Composing the Listing...</translation>
    </message>
    <message>
        <source>Página %1</source>
        <translation>Page %1</translation>
    </message>
    <message>
        <source>Mostra o andamento da listagem</source>
        <translation>Shows the listing&apos;s progress</translation>
    </message>
    <message>
        <source>Nome da listagem</source>
        <translation>Name of the listing</translation>
    </message>
    <message>
        <source>Página a que a listagem vai</source>
        <translation>Page the listing has reached</translation>
    </message>
    <message>
        <source>Interrompe a listagem</source>
        <translation>Stops the listing</translation>
    </message>
</context>
<context>
    <name>quillet::ZoomPanel</name>
    <message>
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Zoom (+ e -, Ctrl+roda do rato; Ctrl+0 ajusta à janela)</source>
        <translation>Zoom (+ and -, Ctrl+mouse wheel; Ctrl+0 fits the window)</translation>
    </message>
    <message>
        <source>Legenda da caixa de zoom</source>
        <translation>Caption of the zoom box</translation>
    </message>
    <message>
        <source>Zoom em percentagem, de 10% a 200%; Enter aplica (Ctrl+0 ajusta à janela)</source>
        <translation>Zoom in percent, from 10% to 200%; Enter applies it (Ctrl+0 fits the window)</translation>
    </message>
</context>
<context>
    <name>quillet::printserver</name>
    <message>
        <source>a impressora não existe</source>
        <translation>the printer does not exist</translation>
    </message>
    <message>
        <source>a impressora não aceita trabalhos</source>
        <translation>the printer does not accept jobs</translation>
    </message>
    <message>
        <source>não há nenhuma impressora instalada</source>
        <translation>no printer is installed</translation>
    </message>
    <message>
        <source>não há serviço de impressão</source>
        <translation>there is no print service</translation>
    </message>
    <message>
        <source>o serviço de impressão não responde</source>
        <translation>the print service does not answer</translation>
    </message>
    <message>
        <source>a impressora está parada</source>
        <translation>the printer is stopped</translation>
    </message>
</context>
</TS>
