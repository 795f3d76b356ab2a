#include "print/PageReplay.h"

#include "base/ErrorsIgnored.h"
#include "compose/Session.h"
#include "print/PageList.h"
#include "platform/PdfJob.h"
#include "print/WaitDialog.h"
#include "render/PageRenderer.h"
#include "render/SheetLayout.h"
#include "widgets/WindowOwner.h"

#include <QElapsedTimer>
#include <QTimer>

#include <chrono>
#include <optional>
#include <vector>

namespace quillet {

namespace {

/// How often the progress dialog is repainted while pages are replayed.
constexpr std::chrono::milliseconds RepaintInterval{50};

} // namespace

QString pageProgressText(int page, int64_t count)
{
    // Two texts, not a plural form: the source language shows its texts untranslated.
    return (count > 1 ? WaitDialog::tr("Página %1 de %2 Páginas") : WaitDialog::tr("Página %1 de %2 Página"))
        .arg(page)
        .arg(count);
}

int64_t sideCount(const PageList &pages, const std::optional<SheetLayout> &sheets)
{
    return sheets ? sheets->sideCount(static_cast<int>(pages.pageCount())) : pages.pageCount();
}

ReplayOutcome replayPages(const Session &listing, const PageList &pages, JobSurface &target,
                          const std::optional<SheetLayout> &sheets, const std::function<void()> &newSheet,
                          WaitDialog *progress, const KeepGoing &keepGoing)
{
    ListingReplay replay(listing, target, ListingReplay::Look::Printed);
    const int64_t count = pages.pageCount();
    const int64_t sides = sideCount(pages, sheets);
    int64_t sidesDrawn = 0;
    ReplayOutcome outcome = ReplayOutcome::Completed;
    QElapsedTimer sinceRepaint;
    const auto drawPage = [&](int page, const std::optional<PagePlacement> &placement) {
        if (progress) {
            // Repainting the dialog for every page took most of the time between
            // pages; its text still changes every page, and shows every RepaintInterval.
            const bool repaint = !sinceRepaint.isValid() || sinceRepaint.hasExpired(RepaintInterval.count());
            if (repaint)
                sinceRepaint.start();
            progress->setUpdatesEnabled(repaint);
            progress->setProgressText(pageProgressText(page, count));
        }
        // The host's code, run by the progress dialog or told of a page, may end the listing.
        if ((progress && keepGoing && !keepGoing()) || listing.ended) {
            outcome = ReplayOutcome::ListingEnded;
            return false;
        }
        target.setPlacement(placement);
        ignoringErrors([&] { replay.render(page); }); // a failing page keeps what it drew
        if (progress && progress->printCancelled()) {
            outcome = ReplayOutcome::Cancelled;
            return false;
        }
        return true;
    };
    const auto sideDone = [&] {
        if (++sidesDrawn < sides)
            newSheet();
    };
    if (!sheets) {
        pages.forEachPage([&](int page) {
            if (!drawPage(page, std::nullopt))
                return false;
            sideDone();
            return true;
        });
    } else {
        std::vector<int> inOrder;
        inOrder.reserve(static_cast<size_t>(count));
        pages.forEachPage([&](int page) {
            inOrder.push_back(page);
            return true;
        });
        for (int side = 0; side < sides && outcome == ReplayOutcome::Completed; ++side) {
            const std::vector<int> positions = sheets->pagesOnSide(side, static_cast<int>(count));
            for (size_t slot = 0; slot < positions.size() && outcome == ReplayOutcome::Completed; ++slot)
                if (positions[slot] > 0)
                    drawPage(inOrder[positions[slot] - 1], sheets->placement(static_cast<int>(slot)));
            if (outcome == ReplayOutcome::Completed)
                sideDone();
        }
    }
    target.setPlacement(std::nullopt);
    if (progress)
        progress->setUpdatesEnabled(true);
    return outcome;
}

std::optional<SheetLayout> sheetsOf(const SheetArrangement &arrangement, const QPageLayout &layout)
{
    if (arrangement.isPlain())
        return std::nullopt;
    const QRectF paper = layout.fullRect(QPageLayout::Millimeter);
    const QRectF printable = layout.paintRect(QPageLayout::Millimeter);
    return SheetLayout(arrangement, {paper.width(), paper.height(), printable.left(), printable.top(),
                                     printable.width(), printable.height()});
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
