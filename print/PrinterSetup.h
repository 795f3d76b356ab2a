#pragma once
// Preparing the next print: the system print dialog (printer, settings, pages)
// or, when the listing offers only a page choice, the page-range dialog.

#include <QCoreApplication>

class QWidget;

namespace quillet {

class PrinterDialog;
class QtPrinterDevice;
struct Session;

class PrinterSetup {
    Q_DECLARE_TR_FUNCTIONS(quillet::PrinterSetup)

public:
    /// Shows the dialog modally over owner, then measures the page again for
    /// the printer now in use, with the listing's own orientation and paper,
    /// unless the listing was ended meanwhile.
    static void run(QWidget *owner, PrinterDialog &cmd, Session &listing, QtPrinterDevice &printer);
};

} // namespace quillet
