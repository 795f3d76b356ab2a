#include "platform/DialogCupsOptions.h"
#include "platform/PdfJob.h"
#include "platform/PrintServer.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>

// The pages go to Qt's print engine as they are drawn, the print dialog's
// choices with them on the QPrinter. A job that no printer can take (none at
// all, or the queue is gone or stopped when the job starts) is drawn into a
// PDF kept for the user instead, as with libcups. What Qt cannot tell, it
// cannot say: a queue that refuses jobs, or a print service that stalls.

namespace quillet::printserver {

namespace {

/// Why printer's queue cannot take a job now, as far as Qt knows; empty when it can.
QString queueRefusal(const QPrinter &printer)
{
    const QPrinterInfo queue(printer);
    if (queue.isNull())
        return refusalReason(Refusal::NoSuchPrinter);
    if (queue.state() == QPrinter::Error)
        return refusalReason(Refusal::Stopped);
    return {};
}

} // namespace

Backend backend()
{
    return Backend::QPrinterOnly;
}

Status status()
{
    return Status::Answering;
}

std::unique_ptr<QPrinter> defaultPrinter()
{
    const QPrinterInfo queue = QPrinterInfo::defaultPrinter();
    if (!queue.isNull())
        return std::make_unique<QPrinter>(queue, QPrinter::HighResolution);
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    return printer;
}

struct Job::Private {
    Private(QPrinter &printer, const QString &documentName) : printer(printer), documentName(documentName) {}
    bool startOnPrinter(bool booklet);

    QPrinter &printer;
    QString documentName;
    QPrinter::DuplexMode duplexChosen = printer.duplex();
    QPainter painter;
    QTransform mmToDevice;
    /// Why the printer was not used; the job is then drawn into pdf.
    QString refusal;
    std::unique_ptr<PdfJob> pdf;
};

bool Job::Private::startOnPrinter(bool booklet)
{
    refusal = isPdfPrinter(printer) ? unreachableReason(status()) : queueRefusal(printer);
    if (!refusal.isEmpty())
        return false;
    // The pages are chosen already: a range the dialog left for Qt's engine would cut them again.
    QStringList options = dialogoptions::of(printer);
    if (const qsizetype range = dialogoptions::valueIndex(options, QStringLiteral("page-ranges")); range > 0) {
        options.remove(range - 1, 2);
        dialogoptions::set(printer, options);
    }
    if (booklet && QPrinterInfo(printer).supportedDuplexModes().contains(QPrinter::DuplexShortSide))
        printer.setDuplex(QPrinter::DuplexShortSide);
    printer.setPageLayout(jobLayout(printer.pageLayout()));
    if (!painter.begin(&printer)) {
        refusal = refusalReason(Refusal::NotAccepting);
        return false;
    }
    // The printer's engine outlives the job and keeps the last job's matrix; a
    // new painter sends its own only when set, and the surface sets none that
    // the painter already has.
    painter.setWorldTransform(QTransform());
    const qreal dotsPerMm = printer.resolution() / 25.4;
    mmToDevice = QTransform::fromScale(dotsPerMm, dotsPerMm);
    return true;
}

Job::Job(QPrinter &printer, const QString &documentName, bool booklet) : d(std::make_unique<Private>(printer, documentName))
{
    if (!d->startOnPrinter(booklet))
        d->pdf = std::make_unique<PdfJob>(jobLayout(printer.pageLayout()), printer.resolution(), documentName);
}

std::unique_ptr<Job> Job::ofWrittenPdf(QPrinter &, const QString &, bool, std::unique_ptr<QTemporaryFile>)
{
    return nullptr;
}

Job::~Job()
{
    discard();
    d->printer.setDuplex(d->duplexChosen);
}

bool Job::isOpen() const
{
    return d->pdf ? d->pdf->isOpen() : d->painter.isActive();
}

QPainter *Job::painter(QTransform &mmToDevice)
{
    if (d->pdf)
        return d->pdf->painter(mmToDevice);
    if (!d->painter.isActive())
        return nullptr;
    mmToDevice = d->mmToDevice;
    return &d->painter;
}

void Job::newPage()
{
    if (d->pdf)
        d->pdf->newPage();
    else if (d->painter.isActive())
        d->printer.newPage();
}

Job::Outcome Job::handOver()
{
    if (d->pdf)
        return keptForUser(*d->pdf, d->documentName, d->refusal);
    if (!d->painter.end() || d->printer.printerState() == QPrinter::Error)
        return {QString(), refusalReason(Refusal::NotAccepting)};
    return {d->printer.printerName(), QString()};
}

bool Job::discard()
{
    if (!d->painter.isActive())
        return true; // nothing reached the printer
    // Qt's engine may keep the pages it has already spooled; the painter must end either way.
    const bool withdrawn = d->printer.abort();
    d->painter.end();
    return withdrawn;
}

} // namespace quillet::printserver
