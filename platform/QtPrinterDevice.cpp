#include "platform/QtPrinterDevice.h"

#include "platform/PdfJob.h"
#include "render/ErrorsIgnored.h"

#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>

#include <cups/cups.h>

#include <cmath>

namespace quillet {

namespace {

constexpr int PortraitCode = 1;
constexpr int LandscapeCode = 2;
constexpr qreal TwipsPerPoint = 20;
constexpr qreal PointsPerMm = 72 / 25.4;
/// Rounding slack when comparing a paper with the printer's limits.
constexpr qreal LimitSlackPoints = 0.5;

/// The printer's unprintable border, in points.
QMarginsF minimumMarginsPoints(const QPageLayout &layout)
{
    QPageLayout inPoints = layout;
    inPoints.setUnits(QPageLayout::Point);
    return inPoints.minimumMargins();
}

/// The layout a job is drawn with: the printer's paper, its border as margins.
QPageLayout jobLayout(const QPageLayout &printerLayout)
{
    const QMarginsF border = printerLayout.minimumMargins();
    return QPageLayout(printerLayout.pageSize(), printerLayout.orientation(), border, printerLayout.units(),
                       border);
}

bool fitsLimits(const QSizeF &points, const QPageSize &minimum, const QPageSize &maximum)
{
    if (minimum.isValid()) {
        const QSizeF low = minimum.size(QPageSize::Point);
        if (points.width() < low.width() - LimitSlackPoints ||
            points.height() < low.height() - LimitSlackPoints)
            return false;
    }
    if (maximum.isValid()) {
        const QSizeF high = maximum.size(QPageSize::Point);
        if (points.width() > high.width() + LimitSlackPoints ||
            points.height() > high.height() + LimitSlackPoints)
            return false;
    }
    return true;
}

/// CUPS's last error as a reason the user can read.
QString cupsFailureReason()
{
    switch (cupsLastError()) {
    case IPP_STATUS_ERROR_NOT_FOUND:
        return QStringLiteral("a impressora não existe");
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return QStringLiteral("a impressora não aceita trabalhos");
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
        return QStringLiteral("o serviço de impressão não responde");
    default:
        return QString::fromUtf8(cupsLastErrorString());
    }
}

/// Why the queue cannot take a job now; empty when it can. A stopped queue
/// would hold the job unseen until someone resumes it, so it counts as refusing.
QString queueRefusal(const QByteArray &queue)
{
    cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(), nullptr);
    if (!dest)
        return cupsFailureReason();
    const auto option = [dest](const char *name) {
        return QByteArray(cupsGetOption(name, dest->num_options, dest->options));
    };
    QString reason;
    if (option("printer-state") == QByteArray::number(IPP_PSTATE_STOPPED))
        reason = QStringLiteral("a impressora está parada");
    else if (option("printer-is-accepting-jobs") == "false")
        reason = QStringLiteral("a impressora não aceita trabalhos");
    cupsFreeDests(1, dest);
    return reason;
}

} // namespace

struct QtPrinterDevice::Private {
    Private();

    QPainter *jobPainter();
    /// Hands a finished job's PDF to the printer's queue; the CUPS job id, or 0
    /// with lastJobError saying why.
    int submit(const PdfJob &finished, const QString &pdfPath);

    QPrinter printer;
    QString documentName = QStringLiteral("Quillet");
    QString lastOutput;
    QString lastJobError;
    /// Draws into the current job, starting one if needed.
    JobSurface surface{[this] { return jobPainter(); }};
    std::unique_ptr<PdfJob> job;
};

QtPrinterDevice::Private::Private() : printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution) {}

QPainter *QtPrinterDevice::Private::jobPainter()
{
    if (!job) {
        auto started =
            std::make_unique<PdfJob>(jobLayout(printer.pageLayout()), printer.resolution(), documentName);
        if (!started->isOpen())
            return nullptr;
        job = std::move(started);
    }
    return job->painter();
}

int QtPrinterDevice::Private::submit(const PdfJob &finished, const QString &pdfPath)
{
    const QByteArray queue = printer.printerName().toLocal8Bit();
    lastJobError = queueRefusal(queue);
    if (!lastJobError.isEmpty())
        return 0;
    cups_option_t *options = nullptr;
    const QPageLayout &layout = finished.layout();
    // Qt's keys are the PPD's names, custom sizes written as CUPS wants them ("Custom.100x150mm").
    int optionCount = cupsAddOption("media", layout.pageSize().key().toUtf8().constData(), 0, &options);
    // Says outright that a landscape page is to be turned onto the sheet, not fitted to it.
    optionCount =
        cupsAddOption("orientation-requested", layout.orientation() == QPageLayout::Landscape ? "4" : "3",
                      optionCount, &options);
    if (printer.copyCount() > 1)
        optionCount = cupsAddOption("copies", QByteArray::number(printer.copyCount()).constData(),
                                    optionCount, &options);
    const int jobId = cupsPrintFile(queue.constData(), QFile::encodeName(pdfPath).constData(),
                                    documentName.toUtf8().constData(), optionCount, options);
    cupsFreeOptions(optionCount, options);
    if (jobId <= 0)
        lastJobError = cupsFailureReason();
    return jobId;
}

QtPrinterDevice::QtPrinterDevice() : d(std::make_unique<Private>()) {}

QtPrinterDevice::~QtPrinterDevice()
{
    killDoc();
}

void QtPrinterDevice::followDefault()
{
    ignoringErrors([&] {
        const QString name = QPrinterInfo::defaultPrinterName();
        if (name == d->printer.printerName() && !name.isEmpty())
            return;
        const QPageLayout kept = d->printer.pageLayout();
        if (name.isEmpty()) {
            d->printer.setOutputFormat(QPrinter::PdfFormat);
        } else {
            d->printer.setOutputFormat(QPrinter::NativeFormat);
            d->printer.setPrinterName(name);
        }
        // The new printer keeps the listing's paper when it has it.
        d->printer.setPageOrientation(kept.orientation());
        d->printer.setPageSize(kept.pageSize());
    });
}

std::string QtPrinterDevice::deviceName() const
{
    return ignoringErrors(std::string(), [&] { return d->printer.printerName().toStdString(); });
}

bool QtPrinterDevice::setOrientation(int code)
{
    return ignoringErrors(false, [&] {
        if (code != PortraitCode && code != LandscapeCode)
            return false;
        return d->printer.setPageOrientation(code == PortraitCode ? QPageLayout::Portrait
                                                                  : QPageLayout::Landscape);
    });
}

int QtPrinterDevice::orientation() const
{
    return ignoringErrors(PortraitCode, [&] {
        return d->printer.pageLayout().orientation() == QPageLayout::Landscape ? LandscapeCode : PortraitCode;
    });
}

bool QtPrinterDevice::setPaperSize(int code)
{
    return ignoringErrors(false, [&] {
        if (code == paperSize())
            return true;
        const QPageSize::PageSizeId id = QPageSize::id(code);
        if (id == QPageSize::Custom)
            return false;
        if (!isPdfFallback()) {
            const QList<QPageSize> supported = QPrinterInfo(d->printer).supportedPageSizes();
            if (std::none_of(supported.cbegin(), supported.cend(),
                             [id](const QPageSize &size) { return size.id() == id; }))
                return false;
        }
        return d->printer.setPageSize(QPageSize(id));
    });
}

int QtPrinterDevice::paperSize() const
{
    return ignoringErrors(CustomPaperCode, [&] {
        const QPageSize size = d->printer.pageLayout().pageSize();
        const int code = size.id() == QPageSize::Custom ? 0 : size.windowsId();
        return code > 0 ? code : CustomPaperCode;
    });
}

CustomPaperResult QtPrinterDevice::setCustomPaper(int widthMm, int heightMm)
{
    return ignoringErrors(PaperSizeRefused, [&] {
        QPrinterInfo info;
        if (!isPdfFallback()) {
            info = QPrinterInfo::printerInfo(d->printer.printerName());
            if (info.isNull())
                return PrinterNotOpened;
            if (info.supportedPageSizes().isEmpty())
                return PrinterSettingsUnreadable;
        }
        if (widthMm <= 0 || heightMm <= 0 || widthMm > MaxCustomPaperMm || heightMm > MaxCustomPaperMm)
            return PaperSizeRefused;
        if (!info.isNull()) {
            const QSizeF points = QSizeF(widthMm, heightMm) * PointsPerMm;
            if (!info.supportsCustomPageSizes() ||
                !fitsLimits(points, info.minimumPhysicalPageSize(), info.maximumPhysicalPageSize()))
                return PaperSizeRefused;
        }
        // A custom size is the page as printed: landscape turns the sheet,
        // so the sheet is given turned the other way.
        const bool landscape = d->printer.pageLayout().orientation() == QPageLayout::Landscape;
        const QPageSize size(landscape ? QSizeF(heightMm, widthMm) : QSizeF(widthMm, heightMm),
                             QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
        return d->printer.setPageSize(size) ? CustomPaperApplied : PaperSizeRefused;
    });
}

PrinterPage QtPrinterDevice::page() const
{
    return ignoringErrors(PrinterPage(), [&] {
        const QPageLayout layout = d->printer.pageLayout();
        const QSizeF paperPoints = layout.fullRect(QPageLayout::Millimeter).size() * PointsPerMm;
        const QMarginsF border = minimumMarginsPoints(layout);
        const auto twips = [](qreal points) { return static_cast<int>(std::lround(points * TwipsPerPoint)); };
        PrinterPage page;
        page.paperWidthTwips = twips(paperPoints.width());
        page.paperHeightTwips = twips(paperPoints.height());
        page.printableWidthTwips = twips(paperPoints.width() - border.left() - border.right());
        page.printableHeightTwips = twips(paperPoints.height() - border.top() - border.bottom());
        return page;
    });
}

Surface &QtPrinterDevice::surface()
{
    return d->surface;
}

void QtPrinterDevice::newPage()
{
    ignoringErrors([&] {
        if (!d->job)
            d->jobPainter(); // the blank first sheet still prints
        if (d->job)
            d->job->newPage();
    });
}

void QtPrinterDevice::endDoc()
{
    ignoringErrors([&] {
        d->lastJobError.clear();
        const std::unique_ptr<PdfJob> finished = std::move(d->job);
        if (!finished)
            return; // nothing was drawn: there is no job to send
        const QString path = finished->finish();
        if (path.isEmpty()) {
            d->lastOutput.clear();
            d->lastJobError = QStringLiteral("não foi possível escrever o PDF temporário");
            return;
        }
        if (!isPdfFallback()) {
            if (const int jobId = d->submit(*finished, path); jobId > 0) {
                d->lastOutput = QStringLiteral("%1, job %2").arg(d->printer.printerName()).arg(jobId);
                return;
            }
        }
        // No printer took the job: the PDF stays, so nothing is lost.
        finished->keepFile();
        d->lastOutput = path;
    });
}

void QtPrinterDevice::killDoc()
{
    ignoringErrors([&] {
        d->job.reset();
        d->lastJobError.clear();
    });
}

QPrinter &QtPrinterDevice::printer()
{
    return d->printer;
}

void QtPrinterDevice::setDocumentName(const QString &name)
{
    ignoringErrors([&] {
        d->documentName = name.isEmpty() ? QStringLiteral("Quillet") : name;
        d->printer.setDocName(d->documentName);
    });
}

QString QtPrinterDevice::lastOutput() const
{
    return d->lastOutput;
}

QString QtPrinterDevice::lastJobError() const
{
    return d->lastJobError;
}

bool QtPrinterDevice::isPdfFallback() const
{
    return d->printer.outputFormat() != QPrinter::NativeFormat || d->printer.printerName().isEmpty();
}

} // namespace quillet
