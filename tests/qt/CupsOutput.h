#pragma once
// Finding what the cups-pdf queue printed: it writes each job to $HOME/PDF,
// named after the job's document name.

#include "platform/PrintServer.h"

#include <QtPrintSupport>

namespace quillet::testing {

/// What program writes to its standard output; empty when it does not finish within timeoutMs.
inline QByteArray outputOf(const QString &program, const QStringList &arguments, int timeoutMs = 20000)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(timeoutMs) ? process.readAllStandardOutput() : QByteArray();
}

inline bool hasCupsPdfQueue()
{
    return QPrinterInfo::defaultPrinterName() == QLatin1String("PDF");
}

/// True when jobs reach the queue through libcups, whole at their end; false
/// when they go through Qt's print engine page by page (QUILLET_CUPS=OFF).
inline bool printsThroughLibcups()
{
    return quillet::printserver::backend() == quillet::printserver::Backend::Libcups;
}

/// A document name no other job shares.
inline QString uniqueDocumentName(const QString &prefix)
{
    return prefix + QUuid::createUuid().toString(QUuid::Id128).left(12);
}

/// The PDF file cups-pdf wrote for a job named documentName, waiting up to
/// timeoutMs for it to appear and for queue to let go of it.
inline QString waitForCupsPdf(const QString &documentName, int timeoutMs = 30000,
                              const QString &queue = QStringLiteral("PDF"))
{
    const QDir dir(QDir::homePath() + QStringLiteral("/PDF"));
    for (QDeadlineTimer deadline(timeoutMs); !deadline.hasExpired(); QThread::msleep(100)) {
        const QStringList files = dir.entryList({documentName + QStringLiteral("*.pdf")}, QDir::Files);
        if (!files.isEmpty() && outputOf("lpstat", {"-o", queue}).trimmed().isEmpty())
            return dir.filePath(files.first());
    }
    return {};
}

/// pattern matched against what pdfinfo reports of a PDF; no match when unreadable.
inline QRegularExpressionMatch pdfInfo(const QString &path, const QString &pattern)
{
    return QRegularExpression(pattern).match(QString::fromUtf8(outputOf("pdfinfo", {path})));
}

/// The number of pages of a PDF; -1 when unreadable.
inline int pdfPageCount(const QString &path)
{
    const auto match = pdfInfo(path, "Pages:\\s+(\\d+)");
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

/// The size of a PDF's first page in points; empty when unreadable.
inline QSizeF pdfPageSizePoints(const QString &path)
{
    const auto match = pdfInfo(path, "Page size:\\s+([\\d.]+) x ([\\d.]+) pts");
    return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble()) : QSizeF();
}

/// The text of each page of a PDF as `pdftotext -layout` lays it out.
inline QStringList pdfLayoutPages(const QString &path)
{
    QStringList pages =
        QString::fromUtf8(outputOf("pdftotext", {"-layout", path, "-"})).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast(); // the form feed after the last page
    return pages;
}

/// What the scheduler keeps of a job, read with ipptool: attribute name to value.
inline QMap<QString, QString> jobAttributes(const QString &jobId)
{
    const QString reply = QString::fromUtf8(
        outputOf("ipptool", {"-tv", "ipp://localhost/jobs/" + jobId, "get-job-attributes.test"}));
    QMap<QString, QString> attributes;
    static const QRegularExpression line("^\\s*(\\S+) \\([^)]*\\) = (.*)$",
                                         QRegularExpression::MultilineOption);
    for (const auto &match : line.globalMatch(reply))
        attributes.insert(match.captured(1), match.captured(2).trimmed());
    return attributes;
}

/// The n of "Folha n de" on each page of a PDF, in file order; 0 on a page without it.
inline QList<int> pdfSheetNumbers(const QString &path)
{
    QList<int> numbers;
    static const QRegularExpression sheet("Folha (\\d+) de");
    for (const QString &page : pdfLayoutPages(path))
        numbers << sheet.match(page).captured(1).toInt();
    return numbers;
}

/// The sheet numbers cups-pdf printed for a job named documentName, as
/// pdfSheetNumbers reads them, its file then removed; empty when none came.
inline QList<int> printedSheets(const QString &documentName, int timeoutMs = 30000)
{
    const QString pdf = waitForCupsPdf(documentName, timeoutMs);
    const QList<int> sheets = pdfSheetNumbers(pdf);
    QFile::remove(pdf);
    return sheets;
}

/// Page pageNumber (from 1) of a PDF rendered by pdftoppm at dpi; null when unreadable.
inline QImage pdfPageImage(const QString &path, int pageNumber, int dpi)
{
    QStringList options = QStringLiteral("-r %1 -f %2 -l %2 -png").arg(dpi).arg(pageNumber).split(u' ');
    return QImage::fromData(outputOf("pdftoppm", options << path), "PNG");
}

/// The bounds of the pixels inside area that match; empty when none does.
inline QRect boundsOf(const QImage &image, const QRect &area, const std::function<bool(QRgb)> &matches)
{
    QRect bounds;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (matches(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace quillet::testing
