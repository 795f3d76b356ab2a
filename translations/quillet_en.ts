<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="pt">
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
</context>
<context>
    <name>quillet::GoToPageBox</name>
    <message>
        <source>Número da página; Enter para ir</source>
        <translation>Page number; Enter to go</translation>
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
</context>
<context>
    <name>quillet::PdfExport</name>
    <message>
        <source>Salvar como PDF...</source>
        <translation>Save as PDF...</translation>
    </message>
    <message>
        <source>Listagem</source>
        <translation>Listing</translation>
    </message>
    <message>
        <source>Salvando PDF...</source>
        <translation>Saving PDF...</translation>
    </message>
    <message>
        <source>Páginas a Salvar...</source>
        <translation>Pages to Save...</translation>
    </message>
    <message>
        <source>Salvar como PDF</source>
        <translation>Save as PDF</translation>
    </message>
    <message>
        <source>Não foi possível salvar a listagem em %1.</source>
        <translation>The listing could not be saved to %1.</translation>
    </message>
</context>
<context>
    <name>quillet::PreviewWindow</name>
    <message>
        <source>Pesquisar...</source>
        <translation>Search...</translation>
    </message>
    <message>
        <source>&quot;%1&quot; não foi encontrado !</source>
        <translation>&quot;%1&quot; was not found!</translation>
    </message>
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
        <source>Salvar como PDF...</source>
        <translation>Save as PDF...</translation>
    </message>
    <message>
        <source>Miniaturas</source>
        <translation>Thumbnails</translation>
    </message>
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
        <source>Zoom</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>Zoom (+ e -, Ctrl+roda do rato; Ctrl+0 ajusta à janela)</source>
        <translation>Zoom (+ and -, Ctrl+mouse wheel; Ctrl+0 fits the window)</translation>
    </message>
    <message>
        <source>Página %1 de %2</source>
        <translation>Page %1 of %2</translation>
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
        <source>A listagem foi enviada para a impressora %1.</source>
        <translation>The listing was sent to the printer %1.</translation>
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
