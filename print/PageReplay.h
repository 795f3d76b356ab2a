#pragma once
// Replaying pages of the listing somewhere other than the preview page: on the
// printer or into a PDF file, one loop for both, so a PDF holds what the
// printer would print.

#include "render/SheetLayout.h"

#include <QPageLayout>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace quillet {

class JobSurface;
class PageList;
class WaitDialog;
struct Session;

enum class ReplayOutcome {
    Completed,
    Cancelled,    ///< Cancel was pressed in the progress dialog
    ListingEnded, ///< the listing was ended meanwhile: nothing of it may be touched
};

/// Lets the windows run and says whether the job may go on: false once its
/// listing was ended (aborted, replaced, its component destroyed).
using KeepGoing = std::function<bool()>;

/// Told after each page a job wrote: pages written so far and the job's page count.
using PageWritten = std::function<void(int written, int pageCount)>;

/// Draws the pages of the list on target in order, as printed, and calls
/// newSheet between two sides of a sheet: one page a side, or as sheets
/// arranges them when given. The listing itself is not touched, so
/// composing can go on and the preview shows what it showed. With a progress
/// dialog it shows "Página n de N Página(s)" and calls keepGoing before each
/// page, though it repaints at most every 50 ms, and stops after the page
/// during which Cancel was pressed; without one it only draws. Either way it
/// stops before the next page once the listing has ended.
ReplayOutcome replayPages(const Session &listing, const PageList &pages, JobSurface &target,
                          const std::optional<SheetLayout> &sheets, const std::function<void()> &newSheet,
                          WaitDialog *progress, const KeepGoing &keepGoing);

/// "Página n de N Página(s)", as the progress dialog shows the page being drawn.
QString pageProgressText(int page, int64_t count);

/// The sides of sheets replayPages makes of pages.
int64_t sideCount(const PageList &pages, const std::optional<SheetLayout> &sheets);

/// The sheets of a job drawn on layout, its margins taken as the unprintable
/// border; none for one page a sheet, as drawn.
std::optional<SheetLayout> sheetsOf(const SheetArrangement &arrangement, const QPageLayout &layout);

/// Shows the progress dialog of the listing, captioned caption, modally over
/// owner and runs work once it is up, so that its Cancel button can be pressed.
ReplayOutcome runWithProgress(QWidget *owner, const Session &listing, const QString &caption,
                              const std::function<ReplayOutcome(WaitDialog &)> &work);

} // namespace quillet
