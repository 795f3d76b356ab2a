#include "print/PrintJob.h"

#include "compose/Session.h"
#include "control/Runtime.h"
#include "platform/QtPrinterDevice.h"
#include "print/PageList.h"
#include "print/PageReplay.h"
#include "print/PrinterDialog.h"
#include "render/SetupSurface.h"

#include <QMessageBox>
#include <QString>

namespace quillet {

namespace {

PageList pagesToPrint(const ListingState &s, const PrinterDialog &cmd)
{
    if (s.ShowSetup)
        return PageList::range(cmd.fromPage(), cmd.toPage(), s.NumPages);
    if (s.ShowSelPag)
        return cmd.chosenPages(s.NumPages);
    return PageList::range(1, s.NumPages, s.NumPages);
}

/// Tells the user that the printer did not take the job, why, and where its
/// PDF was kept.
void tellJobRefused(QWidget *owner, const QtPrinterDevice &printer)
{
    QString text = QStringLiteral("Não foi possível imprimir a listagem em %1: %2.")
                       .arg(QString::fromStdString(printer.deviceName()), printer.lastJobError());
    if (!printer.lastOutput().isEmpty())
        text += QStringLiteral("\n\nA listagem ficou guardada em %1.").arg(printer.lastOutput());
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Imprimir"), text, QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("msgPrintFailed"));
    box.exec();
}

/// Prints the pages; the page loop stops early when Cancel is pressed.
ReplayOutcome printPages(WaitDialog &dialog, PrinterDialog &cmd)
{
    ListingState &s = session().state;
    QtPrinterDevice &printer = Runtime::instance().printer();
    const ReplayOutcome outcome = replayPages(
        pagesToPrint(s, cmd), printer.surface(), [&printer] { printer.newPage(); }, &dialog);
    if (outcome == ReplayOutcome::ListingEnded)
        return outcome; // Abort has discarded the job and closed the preview
    if (outcome == ReplayOutcome::Cancelled)
        printer.killDoc();
    else
        printer.endDoc();
    cmd.reset(s.NumPages);
    return outcome;
}

} // namespace

void PrintJob::run(QWidget *owner, PrinterDialog &cmd)
{
    Session &ses = session();
    ListingState &s = ses.state;
    if (!s.Preview)
        return; // a print is already running
    const ReplayOutcome outcome =
        runWithProgress(owner, QStringLiteral("Imprimindo..."),
                        [&cmd](WaitDialog &dialog) { return printPages(dialog, cmd); });
    if (outcome == ReplayOutcome::ListingEnded || s.AbortPrtFlag)
        return;
    QtPrinterDevice &printer = Runtime::instance().printer();
    // Read before SetupSurface, whose endDoc clears it.
    if (!printer.lastJobError().isEmpty())
        tellJobRefused(owner, printer);
    SetupSurface(ses);
}

} // namespace quillet
