#pragma once
// Printing the previewed listing: every page of the chosen range is replayed on
// the printer while the progress dialog shows the page and offers Cancel. A
// cancelled job is discarded whole.

class QWidget;

namespace quillet {

class PrinterDialog;

class PrintJob {
public:
    /// Prints modally over owner, then measures the printer again. The pages
    /// come from cmd's chosen range (with the set-up dialog), its allowed range
    /// (with the page-range dialog) or all; cmd is reset afterwards.
    static void run(QWidget *owner, PrinterDialog &cmd);
};

} // namespace quillet
