#include "print/PrintJob.h"

#include "compose/Session.h"
#include "platform/PdfJob.h"
#include "platform/QtPrinterDevice.h"
#include "print/ParallelPdf.h"
#include "print/PageList.h"
#include "print/PrinterDialog.h"
#include "render/SetupSurface.h"
#include "widgets/PassingNote.h"

#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QString>
#include <QTemporaryFile>

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

/// Writes the pages into the job's PDF on threads threads, then starts the
/// job with it when every page is in.
ReplayOutcome printOnCores(QWidget *owner, const Session &listing, const PageList &pages, QtPrinterDevice &printer,
                           int threads, const KeepGoing &keepGoing)
{
    std::unique_ptr<QTemporaryFile> pdf = PdfJob::temporaryFile();
    const PdfSettings settings{printer.jobLayout(), printer.printer().resolution(), printer.documentName()};
    std::optional<ReplayOutcome> written;
    const ReplayOutcome outcome = runWithProgress(owner, listing, PrintJob::tr("Imprimindo..."), [&](WaitDialog &dialog) {
        if (pdf)
            written = ParallelPdf::write(listing, pages, settings, threads, *pdf, &dialog, keepGoing, {});
        return written.value_or(ReplayOutcome::Completed);
    });
    if (outcome == ReplayOutcome::Completed)
        printer.startWrittenJob(written ? std::move(pdf) : nullptr);
    return outcome;
}

} // namespace

void PrintJob::tellNotPrinted(QWidget *owner, const QtPrinterDevice &printer)
{
    const QString queue = QString::fromStdString(printer.deviceName());
    QString text =
        queue.isEmpty()
            ? tr("Não foi possível imprimir a listagem: %1.").arg(printer.lastJobError())
            : tr("Não foi possível imprimir a listagem em %1: %2.").arg(queue, printer.lastJobError());
    if (!printer.lastOutput().isEmpty())
        text += tr("\n\nA listagem ficou guardada em %1.").arg(printer.lastOutput());
    // On the heap: the host may delete owner, and the box with it, while the box is open.
    auto *box = new QMessageBox(QMessageBox::Warning, tr("Imprimir"), text, QMessageBox::Ok, owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("msgPrintFailed"));
    box->exec();
}

ReplayOutcome PrintJob::run(QWidget *owner, PrinterDialog &cmd, Session &listing, QtPrinterDevice &printer,
                            const KeepGoing &keepGoing)
{
    if (listing.replaying || listing.ended)
        return ReplayOutcome::ListingEnded; // a print or an export is running
    listing.replaying = true;
    const QPointer<PrinterDialog> choice(&cmd);
    const QPointer<QWidget> shownOver(owner); // a host's window may go while the job runs
    const PageList pages = pagesToPrint(listing.state, cmd);
    const SheetArrangement arrangement = cmd.sheets();
    const std::optional<SheetLayout> sheets = sheetsOf(arrangement, printer.jobLayout());
    printer.setNextJobBooklet(arrangement.booklet);
    const int threads =
        !sheets && printer.takesWrittenPdf() ? ParallelPdf::threadsFor(pages.pageCount()) : 1;
    const ReplayOutcome outcome =
        threads > 1 ? printOnCores(owner, listing, pages, printer, threads, keepGoing)
                    : runWithProgress(owner, listing, tr("Imprimindo..."), [&](WaitDialog &dialog) {
                          return replayPages(
                              listing, pages, printer.surface(), sheets, [&printer] { printer.newPage(); },
                              &dialog, keepGoing);
                      });
    listing.replaying = false;
    if (outcome == ReplayOutcome::ListingEnded || listing.ended || !choice)
        return ReplayOutcome::ListingEnded;
    owner = shownOver; // nothing is told over a window that has gone
    if (outcome == ReplayOutcome::Cancelled) {
        printer.killDoc();
        showPassingNote(owner, printer.lastDiscardWithdrew()
                                   ? tr("A impressão foi cancelada: nada foi enviado para a impressora.")
                                   : tr("A impressão foi cancelada, mas as páginas já enviadas para a "
                                        "impressora ainda podem sair."));
    } else {
        printer.endDoc();
        if (printer.lastJobError().isEmpty() && !pages.isEmpty())
            showPassingNote(owner, tr("A listagem foi enviada para a impressora %1.")
                                .arg(QString::fromStdString(printer.deviceName())));
    }
    cmd.reset(listing.state.NumPages, printer.printer());
    if (!printer.lastJobError().isEmpty() && owner) {
        // Read before SetupSurface, whose endDoc clears it.
        tellNotPrinted(owner, printer);
        if (listing.ended)
            return ReplayOutcome::ListingEnded;
    }
    SetupSurface(listing);
    return outcome;
}

} // namespace quillet
