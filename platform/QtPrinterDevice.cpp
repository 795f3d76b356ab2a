#include "platform/QtPrinterDevice.h"

#include "base/ErrorsIgnored.h"
#include "platform/DialogCupsOptions.h"
#include "platform/PdfJob.h"
#include "platform/PrintServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScopeGuard>
#include <QStandardPaths>

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
QPageLayout jobLayoutOf(const QPageLayout &printerLayout)
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

/// A printer for the system's default, or a PDF printer when the print server
/// does not answer: Qt would wait for it without end.
QPrinter *makePrinter()
{
    if (printserver::status() == printserver::Status::Answering)
        return new QPrinter(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    cupsSetServer("/nonexistent/quillet-no-cupsd.sock"); // Qt finds no printer at once
    auto *printer = new QPrinter(QPrinter::HighResolution);
    cupsSetServer(nullptr); // back to the server configured for this user
    printer->setOutputFormat(QPrinter::PdfFormat);
    return printer;
}

/// A free name for a kept job in the user's documents folder (or home), after its document name.
QString keptJobPath(const QString &documentName)
{
    QDir folder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (!folder.exists())
        folder = QDir::home();
    QString base = documentName;
    base.replace(u'/', u'-');
    for (int copy = 1; copy < 1000; ++copy) {
        const QString name = copy == 1 ? base : QStringLiteral("%1 (%2)").arg(base).arg(copy);
        const QString path = folder.filePath(name + QStringLiteral(".pdf"));
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            return path;
    }
    return {};
}

} // namespace

struct QtPrinterDevice::Private {
    Private();

    QPainter *jobPainter(QTransform &mmToDevice);
    /// Hands a finished job's PDF to the printer's queue; the CUPS job id, or 0
    /// with lastJobError saying why.
    int submit(const PdfJob &finished, const QString &pdfPath);

    std::unique_ptr<QPrinter> owned{makePrinter()};
    QPrinter &printer = *owned;
    QString documentName = QStringLiteral("Quillet");
    QString lastOutput;
    QString lastJobError;
    bool nextJobBooklet = false;
    /// Draws into the current job, starting one if needed.
    JobSurface surface{[this](QTransform &mmToDevice) { return jobPainter(mmToDevice); }};
    std::unique_ptr<PdfJob> job;
};

QtPrinterDevice::Private::Private() = default;

QPainter *QtPrinterDevice::Private::jobPainter(QTransform &mmToDevice)
{
    if (!job) {
        auto started =
            std::make_unique<PdfJob>(jobLayoutOf(printer.pageLayout()), printer.resolution(), documentName);
        if (!started->isOpen())
            return nullptr;
        job = std::move(started);
    }
    return job->painter(mmToDevice);
}

int QtPrinterDevice::Private::submit(const PdfJob &finished, const QString &pdfPath)
{
    const QByteArray queue = printer.printerName().toLocal8Bit();
    lastJobError = printserver::queueRefusal(queue);
    if (!lastJobError.isEmpty())
        return 0;
    cups_option_t *options = nullptr;
    int optionCount = 0;
    const auto add = [&](const char *name, const QByteArray &value) {
        optionCount = cupsAddOption(name, value.constData(), optionCount, &options);
    };
    const QPageLayout &layout = finished.layout();
    // Qt's keys are the PPD's names, custom sizes written as CUPS wants them ("Custom.100x150mm").
    add("media", layout.pageSize().key().toUtf8());
    // Says outright that a landscape page is to be turned onto the sheet, not fitted to it.
    add("orientation-requested", layout.orientation() == QPageLayout::Landscape ? "4" : "3");
    add("copies", QByteArray::number(qMax(1, printer.copyCount())));
    add("multiple-document-handling", printer.collateCopies() ? "separate-documents-collated-copies"
                                                              : "separate-documents-uncollated-copies");
    const bool bothSidesShortEdge =
        nextJobBooklet && QPrinterInfo(printer).supportedDuplexModes().contains(QPrinter::DuplexShortSide);
    add("sides", bothSidesShortEdge ? "two-sided-short-edge" : sidesOption(printer));
    add("print-color-mode", printer.colorMode() == QPrinter::GrayScale ? "monochrome" : "color");
    // The Properties page's choices come last and win, as with Qt's own jobs; the
    // pages are chosen already, so a range there would cut them again.
    const QStringList chosen = dialogoptions::of(printer);
    for (qsizetype i = 0; i + 1 < chosen.size(); i += 2)
        if (chosen[i] != QLatin1String("page-ranges"))
            add(chosen[i].toUtf8().constData(), chosen[i + 1].toUtf8());
    const int jobId = printserver::printFile(queue, QFile::encodeName(pdfPath), documentName.toUtf8(),
                                             optionCount, options, lastJobError);
    cupsFreeOptions(optionCount, options);
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
    return ignoringErrors(QPageLayout(), [&] { return jobLayoutOf(d->printer.pageLayout()); });
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
        const std::unique_ptr<PdfJob> finished = std::move(d->job);
        const auto forThisJobOnly = qScopeGuard([this] { d->nextJobBooklet = false; });
        if (!finished)
            return; // nothing was drawn: there is no job to send
        const QString path = finished->finish();
        if (path.isEmpty()) {
            d->lastOutput.clear();
            d->lastJobError = QCoreApplication::translate("quillet::QtPrinterDevice",
                                                          "não foi possível escrever o PDF temporário");
            return;
        }
        if (!isPdfFallback()) {
            if (const int jobId = d->submit(*finished, path); jobId > 0) {
                d->lastOutput = QStringLiteral("%1, job %2").arg(d->printer.printerName()).arg(jobId);
                return;
            }
        } else {
            d->lastJobError = printserver::unreachableReason(printserver::status());
        }
        // No printer took the job: its PDF is kept where the user finds it, so nothing is lost.
        d->lastOutput = finished->keepAs(keptJobPath(d->documentName));
    });
}

void QtPrinterDevice::killDoc()
{
    ignoringErrors([&] {
        d->job.reset();
        d->lastJobError.clear();
        d->nextJobBooklet = false;
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

bool QtPrinterDevice::reachable() const
{
    return !isPdfFallback() && printserver::status() == printserver::Status::Answering;
}

bool QtPrinterDevice::isPdfFallback() const
{
    return d->printer.outputFormat() != QPrinter::NativeFormat || d->printer.printerName().isEmpty();
}

} // namespace quillet
