#include "print/PrinterSetup.h"

#include "compose/Session.h"
#include "control/Runtime.h"
#include "platform/QtPrinterDevice.h"
#include "print/PageRangeDialog.h"
#include "print/PrinterDialog.h"
#include "render/SetupSurface.h"

namespace quillet {

void PrinterSetup::run(QWidget *owner, PrinterDialog &cmd)
{
    Session &ses = session();
    ListingState &s = ses.state;
    QtPrinterDevice &printer = Runtime::instance().printer();
    printer.endDoc();
    printer.killDoc();
    // The dialog opens on the printer in use, so a printer picked earlier in
    // this preview stays picked.
    cmd.reset(s.NumPages);
    if (s.ShowSetup) {
        cmd.exec(printer.printer(), owner);
    } else {
        PageRangeDialog dialog(s.NumPages, cmd, owner);
        dialog.exec();
    }
    SetupSurface(ses);
}

} // namespace quillet
