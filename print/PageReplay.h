#pragma once
// Replaying pages of the listing somewhere other than the preview page: on the
// printer or into a PDF file, one loop for both, so a PDF holds what the
// printer would print; and the scope that lends the listing to any replay,
// also to page pictures drawn as the preview draws them.

#include "quillet/ListingState.h"

#include <QString>

#include <functional>

class QWidget;

namespace quillet {

class PageList;
class Surface;
class WaitDialog;

/// Lends the listing to a replay on another surface: recording off, the page
/// count fixed as Show fixes it, target as Surface. Replay moves the cursor and
/// changes margins, fonts and columns: the whole listing state goes back as it
/// was when the scope ends, however it ends, so composing can go on and the
/// preview shows what it showed. The caller sets CurPage for each page.
class ReplayScope {
public:
    /// As printed: the preview off, pens and fonts at their own size.
    explicit ReplayScope(Surface &target);
    /// As the preview shows the pages at zoom (1 = 100 %); the preview mode stays.
    ReplayScope(Surface &target, float zoom);
    ~ReplayScope();
    ReplayScope(const ReplayScope &) = delete;
    ReplayScope &operator=(const ReplayScope &) = delete;

    /// The listing was ended meanwhile (AbortPRT): what Abort left stays, but
    /// not the replay's surface, which may be going away.
    void listingEnded() { m_listingOpen = false; }

private:
    ListingState &m_state;
    const ListingState m_kept;
    bool m_listingOpen = true;
};

enum class ReplayOutcome {
    Completed,
    Cancelled,    ///< Cancel was pressed in the progress dialog
    ListingEnded, ///< the listing was ended meanwhile (AbortPRT); the state is gone
};

/// The number of pages of the listing: those composed so far while composing.
int listingPageCount();

/// Draws the pages of the list on target in order, with the preview off, and
/// calls newSheet between two pages. With a progress dialog it shows "Página
/// n de N Página(s)" and lets the windows run (Wait) before each page, though
/// it repaints at most every 50 ms, and stops after the page during which
/// Cancel was pressed; without one it only
/// draws. The listing state is put back as it was afterwards, so composing can
/// go on and the preview shows what it showed.
ReplayOutcome replayPages(const PageList &pages, Surface &target, const std::function<void()> &newSheet,
                          WaitDialog *progress);

/// Shows the progress dialog, captioned caption, modally over owner and runs
/// work once it is up, so that its Cancel button can be pressed.
ReplayOutcome runWithProgress(QWidget *owner, const QString &caption,
                              const std::function<ReplayOutcome(WaitDialog &)> &work);

} // namespace quillet
