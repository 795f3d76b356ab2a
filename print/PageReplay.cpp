#include "print/PageReplay.h"

#include "base/ErrorsIgnored.h"
#include "compose/Session.h"
#include "print/PageList.h"
#include "print/WaitDialog.h"
#include "render/PageRenderer.h"
#include "widgets/WindowOwner.h"

#include <QElapsedTimer>
#include <QTimer>

#include <chrono>

namespace quillet {

namespace {

/// How often the progress dialog is repainted while pages are replayed.
constexpr std::chrono::milliseconds RepaintInterval{50};

QString progressText(int page, int64_t count)
{
    // Two texts, not a plural form: the source language shows its texts untranslated.
    return (count > 1 ? WaitDialog::tr("Página %1 de %2 Páginas") : WaitDialog::tr("Página %1 de %2 Página"))
        .arg(page)
        .arg(count);
}

} // namespace

ReplayOutcome replayPages(const Session &listing, const PageList &pages, Surface &target,
                          const std::function<void()> &newSheet, WaitDialog *progress,
                          const KeepGoing &keepGoing)
{
    ListingReplay replay(listing, target, ListingReplay::Look::Printed);
    const int64_t count = pages.pageCount();
    int64_t drawn = 0;
    ReplayOutcome outcome = ReplayOutcome::Completed;
    QElapsedTimer sinceRepaint;
    pages.forEachPage([&](int page) {
        if (progress) {
            // Repainting the dialog for every page took most of the time between
            // pages; its text still changes every page, and shows every RepaintInterval.
            const bool repaint = !sinceRepaint.isValid() || sinceRepaint.hasExpired(RepaintInterval.count());
            if (repaint)
                sinceRepaint.start();
            progress->setUpdatesEnabled(repaint);
            progress->setProgressText(progressText(page, count));
        }
        // The host's code, run by the progress dialog or told of a page, may end the listing.
        if ((progress && keepGoing && !keepGoing()) || listing.ended) {
            outcome = ReplayOutcome::ListingEnded;
            return false;
        }
        ignoringErrors([&] { replay.render(page); }); // a failing page keeps what it drew
        if (++drawn < count)
            newSheet();
        if (progress && progress->printCancelled()) {
            outcome = ReplayOutcome::Cancelled;
            return false;
        }
        return true;
    });
    if (progress)
        progress->setUpdatesEnabled(true);
    return outcome;
}

ReplayOutcome runWithProgress(QWidget *owner, const Session &listing, const QString &caption,
                              const std::function<ReplayOutcome(WaitDialog &)> &work)
{
    const ListingState &s = listing.state;
    WaitDialog dialog;
    setWindowOwner(&dialog, owner);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.prepareForPrinting(QString::fromStdString(s.ListName).trimmed(), s.ShowCancel, caption);
    ReplayOutcome outcome = ReplayOutcome::Completed;
    // The work starts once the dialog is up, so its Cancel button can be pressed.
    QTimer::singleShot(0, &dialog, [&] {
        outcome = work(dialog);
        dialog.accept();
    });
    dialog.exec();
    return outcome;
}

} // namespace quillet
