#include "print/PrintJob.h"

#include "compose/Session.h"
#include "platform/QtPrinterDevice.h"
#include "print/PageList.h"
#include "print/PrinterDialog.h"
#include "render/SetupSurface.h"

#include <QMessageBox>
#include <QPointer>
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

} // namespace

ReplayOutcome PrintJob::run(QWidget *owner, PrinterDialog &cmd, Session &listing, QtPrinterDevice &printer,
                            const KeepGoing &keepGoing)
{
    if (listing.replaying || listing.ended)
        return ReplayOutcome::ListingEnded; // a print or an export is running
    listing.replaying = true;
    const QPointer<PrinterDialog> choice(&cmd);
    const ReplayOutcome outcome =
        runWithProgress(owner, listing, QStringLiteral("Imprimindo..."), [&](WaitDialog &dialog) {
            return replayPages(
                listing, pagesToPrint(listing.state, cmd), printer.surface(), [&printer] { printer.newPage(); },
                &dialog, keepGoing);
        });
    listing.replaying = false;
    if (outcome == ReplayOutcome::ListingEnded || listing.ended || !choice)
        return ReplayOutcome::ListingEnded;
    if (outcome == ReplayOutcome::Cancelled)
        printer.killDoc();
    else
        printer.endDoc();
    cmd.reset(listing.state.NumPages);
    if (!printer.lastJobError().isEmpty()) {
        // Read before SetupSurface, whose endDoc clears it.
        tellJobRefused(owner, printer);
        if (listing.ended)
            return ReplayOutcome::ListingEnded;
    }
    SetupSurface(listing);
    return outcome;
}

} // namespace quillet
