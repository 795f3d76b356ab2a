#include "print/PrinterSetup.h"

#include "compose/Session.h"
#include "platform/PrintServer.h"
#include "platform/QtPrinterDevice.h"
#include "print/PageRangeDialog.h"
#include "print/PrinterDialog.h"
#include "render/SetupSurface.h"

#include <QMessageBox>

namespace quillet {

void PrinterSetup::run(QWidget *owner, PrinterDialog &cmd, Session &listing, QtPrinterDevice &printer)
{
    if (listing.replaying || listing.ended)
        return;
    const ListingState &s = listing.state;
    printer.endDoc();
    printer.killDoc();
    // The dialog opens on the printer in use, so a printer picked earlier in
    // this preview stays picked.
    cmd.reset(s.NumPages, printer.printer());
    if (s.ShowSetup && printserver::status() == printserver::Status::Silent) {
        // The dialog would wait for the print server's list of printers without end.
        QMessageBox::warning(owner, tr("Seleccionar Impressora"),
                             tr("Não foi possível mostrar as impressoras: %1.")
                                 .arg(printserver::unreachableReason(printserver::Status::Silent)));
    } else if (s.ShowSetup) {
        // The dialog's "Pages per sheet" is done here, not by CUPS as well.
        if (cmd.exec(printer.printer(), owner, s.RememberPrintChoices))
            cmd.setSheets({printer.takePagesPerSheet(), cmd.sheets().booklet});
    } else {
        PageRangeDialog dialog(s.NumPages, cmd, owner);
        dialog.exec();
    }
    if (!listing.ended)
        SetupSurface(listing);
}

} // namespace quillet
