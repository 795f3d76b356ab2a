#pragma once
// Saving the listing as a PDF file: the pages are replayed onto a PDF on the
// listing's paper, so the file keeps real text and vector lines and holds what
// the printer would print.

#include "print/ParallelPdf.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QString>

class QWidget;

namespace quillet {

class PageList;

class PdfExport {
    Q_DECLARE_TR_FUNCTIONS(quillet::PdfExport)

public:
    /// Writes the pages of the listing to a PDF at path on paper (the
    /// listing's paper and orientation, as the printer has them), titled with
    /// the listing's name. With an owner window it shows the progress dialog
    /// with Cancel and calls keepGoing before each page; without one, nothing.
    /// The file appears only once every page is in it: a cancelled or failed
    /// export leaves path as it was. False when nothing was written: no
    /// listing in preview mode (direct mode, or a print or export is running),
    /// no pages, a path that cannot be written, Cancel. With the listing's
    /// PdfArchive set the file is PDF/A-1b. pageWritten, when given, is told
    /// of each page drawn into the file. With sheets other than plain, the
    /// file's pages are sheets with the pages arranged on them.
    static bool save(const QString &path, const PageList &pages, Session &listing, const QPageLayout &paper,
                     const SheetArrangement &sheets = {}, QWidget *owner = nullptr,
                     const KeepGoing &keepGoing = {}, const PageWritten &pageWritten = {});

    /// "Guardar como PDF..." in the preview: asks for the file, then for all
    /// pages or some when there is more than one, then saves them with
    /// progress and tells where the file went.
    static void saveFromPreview(QWidget *window, Session &listing, const QPageLayout &paper,
                                const KeepGoing &keepGoing);

    /// The file first proposed for a listing: its name as one file name,
    /// with the characters a file name cannot hold replaced, in the user's
    /// documents folder (home when there is none), absolute.
    static QString proposedPath(const QString &listName);

private:
    enum class Result { Written, Cancelled, Failed };
    static Result write(const QString &path, const PageList &pages, Session &listing,
                        const QPageLayout &paper, const SheetArrangement &sheets, QWidget *owner,
                        const KeepGoing &keepGoing, const PageWritten &pageWritten = {});
    /// write's pages, one a sheet, written on threads threads.
    static Result writeOnCores(const QString &path, const PageList &pages, Session &listing,
                               const PdfSettings &settings, int threads, QWidget *owner,
                               const KeepGoing &keepGoing, const PageWritten &pageWritten);
};

} // namespace quillet
