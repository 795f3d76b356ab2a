#include "platform/DialogCupsOptions.h"
#include "platform/PdfJob.h"
#include "platform/cups/CupsServer.h"

#include <QFile>
#include <QTemporaryFile>
#include <QPrinter>
#include <QPrinterInfo>

// Jobs must be discardable, and QPrinter::abort() does not discard a CUPS job:
// so every job is drawn into a private temporary PDF laid out for the chosen
// printer, handed to CUPS only when it ends and deleted when it is discarded.

namespace quillet::printserver {

namespace {

const char *sidesOption(const QPrinter &printer)
{
    switch (printer.duplex()) {
    case QPrinter::DuplexNone:
        break;
    case QPrinter::DuplexAuto: // along the page's long side, as Qt's own CUPS engine does
        return printer.pageLayout().orientation() == QPageLayout::Portrait ? "two-sided-long-edge"
                                                                           : "two-sided-short-edge";
    case QPrinter::DuplexLongSide:
        return "two-sided-long-edge";
    case QPrinter::DuplexShortSide:
        return "two-sided-short-edge";
    }
    return "one-sided";
}

} // namespace

Backend backend()
{
    return Backend::Libcups;
}

std::unique_ptr<QPrinter> defaultPrinter()
{
    // Qt would wait for a print server that does not answer without end.
    if (status() == Status::Answering)
        return std::make_unique<QPrinter>(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    cupsSetServer("/nonexistent/quillet-no-cupsd.sock"); // Qt finds no printer at once
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    cupsSetServer(nullptr); // back to the server configured for this user
    printer->setOutputFormat(QPrinter::PdfFormat);
    return printer;
}

struct Job::Private {
    /// Hands the finished PDF at pdfPath to the printer's queue; the CUPS job id, or 0 with reason saying why.
    int submit(const QString &pdfPath, QString &reason);

    QPrinter &printer;
    QString documentName;
    bool booklet;
    PdfJob pdf;
};

int Job::Private::submit(const QString &pdfPath, QString &reason)
{
    const QByteArray queue = printer.printerName().toLocal8Bit();
    reason = queueRefusal(queue);
    if (!reason.isEmpty())
        return 0;
    cups_option_t *options = nullptr;
    int optionCount = 0;
    const auto add = [&](const char *name, const QByteArray &value) {
        optionCount = cupsAddOption(name, value.constData(), optionCount, &options);
    };
    const QPageLayout &layout = pdf.layout();
    // Qt's keys are the PPD's names, custom sizes written as CUPS wants them ("Custom.100x150mm").
    add("media", layout.pageSize().key().toUtf8());
    // Says outright that a landscape page is to be turned onto the sheet, not fitted to it.
    add("orientation-requested", layout.orientation() == QPageLayout::Landscape ? "4" : "3");
    add("copies", QByteArray::number(qMax(1, printer.copyCount())));
    add("multiple-document-handling", printer.collateCopies() ? "separate-documents-collated-copies"
                                                              : "separate-documents-uncollated-copies");
    const bool bothSidesShortEdge =
        booklet && QPrinterInfo(printer).supportedDuplexModes().contains(QPrinter::DuplexShortSide);
    add("sides", bothSidesShortEdge ? "two-sided-short-edge" : sidesOption(printer));
    add("print-color-mode", printer.colorMode() == QPrinter::GrayScale ? "monochrome" : "color");
    // The Properties page's choices come last and win, as with Qt's own jobs; the
    // pages are chosen already, so a range there would cut them again.
    const QStringList chosen = dialogoptions::of(printer);
    for (qsizetype i = 0; i + 1 < chosen.size(); i += 2)
        if (chosen[i] != QLatin1String("page-ranges"))
            add(chosen[i].toUtf8().constData(), chosen[i + 1].toUtf8());
    const int jobId =
        printFile(queue, QFile::encodeName(pdfPath), documentName.toUtf8(), optionCount, options, reason);
    cupsFreeOptions(optionCount, options);
    return jobId;
}

Job::Job(QPrinter &printer, const QString &documentName, bool booklet)
    : d(new Private{printer, documentName, booklet,
                    PdfJob(jobLayout(printer.pageLayout()), printer.resolution(), documentName)})
{
}

Job::Job(std::unique_ptr<Private> d) : d(std::move(d)) {}

std::unique_ptr<Job> Job::ofWrittenPdf(QPrinter &printer, const QString &documentName, bool booklet,
                                       std::unique_ptr<QTemporaryFile> pdf)
{
    return std::unique_ptr<Job>(new Job(std::unique_ptr<Private>(
        new Private{printer, documentName, booklet, PdfJob(jobLayout(printer.pageLayout()), std::move(pdf))})));
}

Job::~Job() = default;

bool Job::isOpen() const
{
    return d->pdf.isOpen();
}

QPainter *Job::painter(QTransform &mmToDevice)
{
    return d->pdf.painter(mmToDevice);
}

void Job::newPage()
{
    d->pdf.newPage();
}

Job::Outcome Job::handOver()
{
    if (isPdfPrinter(d->printer))
        return keptForUser(d->pdf, d->documentName, unreachableReason(status()));
    const QString path = d->pdf.finish();
    if (path.isEmpty())
        return {QString(), unwrittenReason()};
    QString reason;
    if (const int jobId = d->submit(path, reason); jobId > 0)
        return {QStringLiteral("%1, job %2").arg(d->printer.printerName()).arg(jobId), QString()};
    // No printer took the job: its PDF is kept where the user finds it, so nothing is lost.
    return {d->pdf.keepAs(keptJobPath(d->documentName)), reason};
}

bool Job::discard()
{
    return true; // its temporary PDF goes with the job: nothing of it reached the queue
}

} // namespace quillet::printserver
