#pragma once
// The user's own choices in the print dialog, kept between runs of the host
// (QSettings, under its organisation and application names): the printer
// chosen last and, for each printer, two-sided printing, colour and the
// printer's own options. Copies and pages are not kept: a reprint of two
// copies would be an accident.

class QPrintDialog;
class QPrinter;

namespace quillet::printchoices {

/// Puts the printer on the one chosen last, when it still exists, with the
/// choices kept for it.
void recall(QPrinter &printer);

/// Keeps what the dialog was accepted with. The dialog writes the printer's
/// own options only when its Properties were opened: otherwise those kept
/// for the printer go back on it.
void keep(QPrinter &printer, bool propertiesOpened);

} // namespace quillet::printchoices
