#include "print/PdfExport.h"

#include "compose/Session.h"
#include "platform/PdfJob.h"
#include "platform/ReplacingFile.h"
#include "print/ParallelPdf.h"
#include "print/PageList.h"
#include "print/PageRangeDialog.h"
#include "print/PageReplay.h"
#include "print/PrinterDialog.h"
#include "widgets/PassingNote.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrinter>
#include <QRegularExpression>
#include <QStandardPaths>

namespace quillet {

namespace {

/// The drawing grid of the PDF; text and lines stay vectors at any resolution.
constexpr int ResolutionDpi = 1200;
const QString PdfSuffix = QStringLiteral(".pdf");

/// The listing's paper with its origin at the printable corner, as on paper.
QPageLayout listingLayout(const QPageLayout &paper, const ListingState &s)
{
    return QPageLayout(paper.pageSize(), paper.orientation(), QMarginsF(s.OffX, s.OffY, s.OffX, s.OffY),
                       QPageLayout::Millimeter);
}

QString withPdfSuffix(const QString &path)
{
    return path.endsWith(PdfSuffix, Qt::CaseInsensitive) ? path : path + PdfSuffix;
}

/// The file the user names, ".pdf" added when missing; empty when cancelled.
QString askForFile(QWidget *window, const ListingState &s)
{
    QFileDialog dialog(window, PdfExport::tr("Guardar como PDF..."));
    dialog.setObjectName(QStringLiteral("dlgSAVEPDF"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("PDF (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(PdfExport::proposedPath(QString::fromStdString(s.ListName)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return withPdfSuffix(dialog.selectedFiles().constFirst());
}

} // namespace

QString PdfExport::proposedPath(const QString &listName)
{
    // Characters that some file system refuses in a name, and the control ones.
    static const QRegularExpression refused(QStringLiteral("[/\\\\:*?\"<>|\\x00-\\x1f]"));
    QString name = QString(listName).replace(refused, QStringLiteral("-")).trimmed();
    while (name.startsWith(u'.') || name.endsWith(u'.')) // hidden, or cut by Windows
        name = name.startsWith(u'.') ? name.mid(1).trimmed() : name.chopped(1).trimmed();
    if (name.isEmpty())
        name = tr("Listagem");
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    return QDir(folder).absoluteFilePath(name + PdfSuffix);
}

PdfExport::Result PdfExport::write(const QString &path, const PageList &pages, Session &listing,
                                   const QPageLayout &paper, const SheetArrangement &sheets, QWidget *owner,
                                   const KeepGoing &keepGoing, const PageWritten &pageWritten)
{
    const ListingState &s = listing.state;
    if (!s.Preview || !listing.spool || listing.replaying || listing.ended || pages.isEmpty() ||
        path.isEmpty())
        return Result::Failed;
    const QPageLayout layout = listingLayout(paper, s);
    const int threads = sheets.isPlain() ? ParallelPdf::threadsFor(pages.pageCount()) : 1;
    if (threads > 1)
        return writeOnCores(path, pages, listing, {layout, ResolutionDpi, QString::fromStdString(s.ListName), s.PdfArchive},
                            threads, owner, keepGoing, pageWritten);
    PdfJob job(path, layout, ResolutionDpi, QString::fromStdString(s.ListName), s.PdfArchive);
    if (!job.isOpen())
        return Result::Failed;
    JobSurface surface([&job](QTransform &mmToDevice) { return job.painter(mmToDevice); });
    const std::optional<SheetLayout> onSheets = sheetsOf(sheets, layout);
    const int total = static_cast<int>(sideCount(pages, onSheets));
    int written = 0;
    const auto report = [&] {
        if (pageWritten)
            pageWritten(++written, total);
    };
    const auto newSheet = [&] {
        report();
        job.newPage();
    };
    listing.replaying = true;
    const ReplayOutcome outcome =
        owner ? runWithProgress(owner, listing, tr("Guardando PDF..."),
                                [&](WaitDialog &dialog) {
                                    return replayPages(listing, pages, surface, onSheets, newSheet, &dialog,
                                                       keepGoing);
                                })
              : replayPages(listing, pages, surface, onSheets, newSheet, nullptr, keepGoing);
    listing.replaying = false;
    // The host's code told of a page may have ended the listing.
    if (outcome != ReplayOutcome::Completed || listing.ended)
        return Result::Cancelled; // the job's file goes with it
    report();
    return job.finish().isEmpty() ? Result::Failed : Result::Written;
}

PdfExport::Result PdfExport::writeOnCores(const QString &path, const PageList &pages, Session &listing,
                                          const PdfSettings &settings, int threads, QWidget *owner,
                                          const KeepGoing &keepGoing, const PageWritten &pageWritten)
{
    ReplacingFile file(path);
    if (!file.open())
        return Result::Failed;
    std::optional<ReplayOutcome> outcome;
    const auto write = [&](WaitDialog *progress) {
        outcome = ParallelPdf::write(listing, pages, settings, threads, file, progress, keepGoing, pageWritten);
        return outcome.value_or(ReplayOutcome::Completed);
    };
    listing.replaying = true;
    if (owner)
        runWithProgress(owner, listing, tr("Guardando PDF..."), [&](WaitDialog &dialog) { return write(&dialog); });
    else
        write(nullptr);
    listing.replaying = false;
    if (!outcome)
        return Result::Failed;
    // The host's code told of a page may have ended the listing.
    if (*outcome != ReplayOutcome::Completed || listing.ended)
        return Result::Cancelled; // the file goes with it
    return file.commit() ? Result::Written : Result::Failed;
}

bool PdfExport::save(const QString &path, const PageList &pages, Session &listing, const QPageLayout &paper,
                     const SheetArrangement &sheets, QWidget *owner, const KeepGoing &keepGoing,
                     const PageWritten &pageWritten)
{
    return write(path, pages, listing, paper, sheets, owner, keepGoing, pageWritten) == Result::Written;
}

void PdfExport::saveFromPreview(QWidget *window, Session &listing, const QPageLayout &paper,
                                const KeepGoing &keepGoing)
{
    const ListingState &s = listing.state;
    if (listing.replaying)
        return; // a print or an export is running
    const QString path = askForFile(window, s);
    if (path.isEmpty() || listing.ended)
        return;
    PrinterDialog choice;
    choice.reset(s.NumPages);
    if (s.NumPages > 1) { // one page is all there is to choose
        PageRangeDialog pagesDialog(s.NumPages, choice, window);
        pagesDialog.setWindowTitle(tr("Páginas a Guardar..."));
        if (pagesDialog.exec() != QDialog::Accepted || listing.ended)
            return;
    }
    const Result result = write(path, choice.chosenPages(s.NumPages), listing, paper, {}, window, keepGoing);
    if (listing.ended || result == Result::Cancelled)
        return;
    if (result == Result::Written) {
        showPassingNote(window, tr("A listagem foi guardada em %1.").arg(QDir::toNativeSeparators(path)));
        return;
    }
    QMessageBox box(QMessageBox::Warning, tr("Guardar como PDF"),
                    tr("Não foi possível guardar a listagem em %1.").arg(QDir::toNativeSeparators(path)),
                    QMessageBox::Ok, window);
    box.setObjectName(QStringLiteral("msgPdfFailed"));
    box.exec();
}

} // namespace quillet
