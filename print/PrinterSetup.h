#pragma once
// Preparing the next print: the system print dialog (printer, settings, pages)
// or, when the listing offers only a page choice, the page-range dialog.

class QWidget;

namespace quillet {

class PrinterDialog;

class PrinterSetup {
public:
    /// Shows the dialog modally over owner, then measures the page again for
    /// the printer now in use, with the listing's own orientation and paper.
    static void run(QWidget *owner, PrinterDialog &cmd);
};

} // namespace quillet
