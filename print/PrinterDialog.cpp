#include "print/PrinterDialog.h"

#include "print/BookletTab.h"
#include "print/PrintChoices.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QPrinter>

namespace quillet {

PrinterDialog::PrinterDialog(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("CMD"));
}

void PrinterDialog::reset(int numPages)
{
    m_enabled = true;
    m_flags = ResetFlags;
    m_copies = 1;
    setAllowedRange(1, numPages);
    setChosenRange(1, numPages);
    m_pageList.reset();
    m_sheets = {};
}

void PrinterDialog::reset(int numPages, QPrinter &printer)
{
    reset(numPages);
    printer.setCopyCount(1);
}

void PrinterDialog::setAllowedRange(int minPage, int maxPage)
{
    m_minPage = minPage;
    m_maxPage = maxPage;
}

void PrinterDialog::setChosenRange(int fromPage, int toPage)
{
    m_fromPage = fromPage;
    m_toPage = toPage;
}

bool PrinterDialog::exec(QPrinter &printer, QWidget *parent, bool remember)
{
    const QString printerInUse = printer.printerName();
    const QPrinter::DuplexMode duplexInUse = printer.duplex();
    const QPrinter::ColorMode colourInUse = printer.colorMode();
    if (remember)
        printchoices::recall(printer);
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("CMDDialog"));
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    dialog.setMinMax(m_minPage, m_maxPage);
    dialog.setFromTo(m_fromPage, m_toPage);
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    auto *booklet = new BookletTab(m_sheets.booklet, &dialog);
    dialog.setOptionTabs({booklet});
    // The dialog chooses; printing is the preview's own button.
    if (auto *buttons = dialog.findChild<QDialogButtonBox *>())
        if (QPushButton *choose = buttons->button(QDialogButtonBox::Ok))
            choose->setText(tr("Escolher"));
    bool propertiesOpened = false;
    if (auto *properties = dialog.findChild<QPushButton *>(QStringLiteral("properties")))
        connect(properties, &QPushButton::clicked, &dialog, [&propertiesOpened] { propertiesOpened = true; });
    if (dialog.exec() != QDialog::Accepted) {
        // Cancelled: the listing goes on with the printer it had.
        if (printer.printerName() != printerInUse)
            printer.setPrinterName(printerInUse);
        printer.setDuplex(duplexInUse);
        printer.setColorMode(colourInUse);
        return false;
    }
    m_sheets.booklet = booklet->booklet();
    // Qt's dialog sets colour again for a printer whose options name no colour
    // model, whatever the user ticked.
    if (auto *greyscale = dialog.findChild<QRadioButton *>(QStringLiteral("grayscale")))
        printer.setColorMode(greyscale->isChecked() ? QPrinter::GrayScale : QPrinter::Color);
    if (remember)
        printchoices::keep(printer, propertiesOpened);
    if (dialog.printRange() == QAbstractPrintDialog::PageRange && dialog.fromPage() > 0)
        setChosenRange(dialog.fromPage(), qMax(dialog.fromPage(), dialog.toPage()));
    else
        setChosenRange(m_minPage, m_maxPage);
    return true;
}

} // namespace quillet
