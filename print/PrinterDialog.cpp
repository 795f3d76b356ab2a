#include "print/PrinterDialog.h"

#include "print/BookletTab.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPushButton>
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

bool PrinterDialog::exec(QPrinter &printer, QWidget *parent)
{
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
    if (dialog.exec() != QDialog::Accepted)
        return false;
    m_sheets.booklet = booklet->booklet();
    if (dialog.printRange() == QAbstractPrintDialog::PageRange && dialog.fromPage() > 0)
        setChosenRange(dialog.fromPage(), qMax(dialog.fromPage(), dialog.toPage()));
    else
        setChosenRange(m_minPage, m_maxPage);
    return true;
}

} // namespace quillet
