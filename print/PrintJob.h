#pragma once
// Printing the previewed listing: every page of the chosen range is replayed on
// the printer while the progress dialog shows the page and offers Cancel. A
// cancelled job is discarded whole, and so is the job of a listing ended
// while it prints.

#include "print/PageReplay.h"

#include <QCoreApplication>

class QWidget;

namespace quillet {

class PrinterDialog;
class QtPrinterDevice;

class PrintJob {
    Q_DECLARE_TR_FUNCTIONS(quillet::PrintJob)

public:
    /// Prints the listing on printer, modally over owner, then measures the
    /// printer again. The pages come from cmd's chosen range (with the set-up
    /// dialog), its allowed range (with the page-range dialog) or all, on
    /// sheets as cmd arranges them; cmd is reset afterwards. How the job ended
    /// is told over owner: a note when it was sent or cancelled, a message box
    /// when no printer took it; nothing without an owner, whose host reads the
    /// printer's lastOutput(). keepGoing runs before each page. When it returns
    /// false the job is not touched again: whoever ended the listing has
    /// discarded it.
    static ReplayOutcome run(QWidget *owner, PrinterDialog &cmd, Session &listing, QtPrinterDevice &printer,
                             const KeepGoing &keepGoing);

    /// Tells the user, in a message box over owner, that no printer took the
    /// printer's last job, why, and where its PDF was kept.
    static void tellNotPrinted(QWidget *owner, const QtPrinterDevice &printer);
};

} // namespace quillet
