#include "platform/QtPrinterDevice.h"

#include "base/ErrorsIgnored.h"
#include "platform/DialogCupsOptions.h"
#include "platform/PrintServer.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>

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

} // namespace

struct QtPrinterDevice::Private {
    QPainter *jobPainter(QTransform &mmToDevice);

    std::unique_ptr<QPrinter> owned{printserver::defaultPrinter()};
    QPrinter &printer = *owned;
    QString documentName = QStringLiteral("Quillet");
    QString lastOutput;
    QString lastJobError;
    bool lastDiscardWithdrew = true;
    bool nextJobBooklet = false;
    /// Draws into the current job, starting one if needed.
    JobSurface surface{[this](QTransform &mmToDevice) { return jobPainter(mmToDevice); }};
    std::unique_ptr<printserver::Job> job;
};

QPainter *QtPrinterDevice::Private::jobPainter(QTransform &mmToDevice)
{
    if (!job) {
        auto started = std::make_unique<printserver::Job>(printer, documentName, nextJobBooklet);
        if (!started->isOpen())
            return nullptr;
        job = std::move(started);
    }
    return job->painter(mmToDevice);
}

QtPrinterDevice::QtPrinterDevice() : d(std::make_unique<Private>()) {}

QtPrinterDevice::~QtPrinterDevice()
{
    killDoc();
}

void QtPrinterDevice::followDefault()
{
    ignoringErrors([&] {
        // Qt's look-ups wait for a silent server without end: asked only after it answered.
        const bool answering = printserver::status() == printserver::Status::Answering;
        const QString name = answering ? QPrinterInfo::defaultPrinterName() : QString();
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
        if (reachable()) {
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
        if (reachable()) {
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

JobSurface &QtPrinterDevice::surface()
{
    return d->surface;
}

QPageLayout QtPrinterDevice::jobLayout() const
{
    return ignoringErrors(QPageLayout(), [&] { return printserver::jobLayout(d->printer.pageLayout()); });
}

int QtPrinterDevice::takePagesPerSheet()
{
    return ignoringErrors(1, [&] {
        QStringList options = dialogoptions::of(d->printer);
        const qsizetype numberUp = dialogoptions::valueIndex(options, QStringLiteral("number-up"));
        const int pages = numberUp > 0 ? options[numberUp].toInt() : 1;
        if (pages != 2 && pages != 4)
            return 1;
        // The layout of CUPS' own arrangement goes with it.
        for (const QString &name : {QStringLiteral("number-up"), QStringLiteral("number-up-layout")})
            if (const qsizetype value = dialogoptions::valueIndex(options, name); value > 0)
                options.remove(value - 1, 2);
        dialogoptions::set(d->printer, options);
        return pages;
    });
}

void QtPrinterDevice::setNextJobBooklet(bool booklet)
{
    d->nextJobBooklet = booklet;
}

void QtPrinterDevice::newPage()
{
    ignoringErrors([&] {
        QTransform unusedMm;
        if (!d->job)
            d->jobPainter(unusedMm); // the blank first sheet still prints
        if (d->job)
            d->job->newPage();
    });
}

void QtPrinterDevice::endDoc()
{
    ignoringErrors([&] {
        d->lastJobError.clear();
        d->nextJobBooklet = false;
        const std::unique_ptr<printserver::Job> finished = std::move(d->job);
        if (!finished)
            return; // nothing was drawn: there is no job to send
        const printserver::Job::Outcome outcome = finished->handOver();
        d->lastOutput = outcome.output;
        d->lastJobError = outcome.error;
    });
}

void QtPrinterDevice::killDoc()
{
    ignoringErrors([&] {
        d->lastDiscardWithdrew = !d->job || d->job->discard();
        d->job.reset();
        d->lastJobError.clear();
        d->nextJobBooklet = false;
    });
}

QPrinter &QtPrinterDevice::printer()
{
    return d->printer;
}

QString QtPrinterDevice::documentName() const
{
    return d->documentName;
}

bool QtPrinterDevice::takesWrittenPdf() const
{
    return printserver::backend() == printserver::Backend::Libcups;
}

void QtPrinterDevice::startWrittenJob(std::unique_ptr<QTemporaryFile> pdf)
{
    ignoringErrors([&] {
        d->job = printserver::Job::ofWrittenPdf(d->printer, d->documentName, d->nextJobBooklet, std::move(pdf));
    });
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

bool QtPrinterDevice::reachable() const
{
    return !isPdfFallback() && printserver::status() == printserver::Status::Answering;
}

bool QtPrinterDevice::isPdfFallback() const
{
    return printserver::isPdfPrinter(d->printer);
}

bool QtPrinterDevice::lastDiscardWithdrew() const
{
    return d->lastDiscardWithdrew;
}

} // namespace quillet
