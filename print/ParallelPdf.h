#pragma once
// Writing the pages of a long listing into a PDF on every core: the pages are
// cut into runs, in order; whichever thread is free replays the next run into
// a file of its own, and the files are joined in order at the end. Each
// thread reads the spool through its own handle and draws with a copy of the
// listing's state, so the host may compose or end the listing meanwhile.

#include "print/PageReplay.h"

#include <QPageLayout>
#include <QString>

#include <optional>

class QIODevice;

namespace quillet {

/// The file every run is written as.
struct PdfSettings {
    QPageLayout layout;
    int resolutionDpi = 0;
    QString title;
    bool archive = false; ///< PDF/A-1b
};

class ParallelPdf {
public:
    /// The threads a job of pageCount pages is written on: one a core (or as
    /// many as QUILLET_PDF_THREADS says), 1 when a second thread would not
    /// pay for itself.
    static int threadsFor(int64_t pageCount);

    /// Writes the pages into out on threads threads. Progress, keepGoing,
    /// pageWritten and Cancel work as replayPages has them, pages counted in
    /// order; Cancel stops every thread within the page it draws. Every run's
    /// file is gone when this returns. Nothing when a run or the join could
    /// not be written.
    static std::optional<ReplayOutcome> write(const Session &listing, const PageList &pages,
                                              const PdfSettings &settings, int threads, QIODevice &out,
                                              WaitDialog *progress, const KeepGoing &keepGoing,
                                              const PageWritten &pageWritten);
};

} // namespace quillet
