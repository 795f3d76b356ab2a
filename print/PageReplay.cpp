#include "print/PageReplay.h"

#include "compose/Session.h"
#include "control/Lifecycle.h"
#include "control/WindowOwner.h"
#include "print/PageList.h"
#include "print/WaitDialog.h"
#include "render/ErrorsIgnored.h"
#include "render/PageRenderer.h"

#include <QElapsedTimer>
#include <QTimer>

#include <chrono>

namespace quillet {

namespace {

/// How often the progress dialog is repainted while pages are replayed.
constexpr std::chrono::milliseconds RepaintInterval{50};

QString progressText(int page, int64_t count)
{
    return QStringLiteral("Página %1 de %2 Página%3").arg(page).arg(count).arg(count > 1 ? "s" : "");
}

} // namespace

int listingPageCount()
{
    const ListingState &s = session().state;
    return s.Spooling ? s.CurPage : s.NumPages;
}

ReplayScope::ReplayScope(Surface &target, float zoom) : m_state(session().state), m_kept(m_state)
{
    m_state.NumPages = static_cast<int16_t>(listingPageCount()); // for the page-count marker
    m_state.Spooling = false;
    m_state.Surface = &target;
    m_state.Zoom = zoom;
}

ReplayScope::ReplayScope(Surface &target) : ReplayScope(target, session().state.Zoom)
{
    m_state.Preview = false;
}

ReplayScope::~ReplayScope()
{
    if (m_listingOpen) {
        m_state = m_kept;
    } else {
        m_state.Preview = m_kept.Preview;
        m_state.Surface = nullptr; // as the closed preview leaves it
    }
}

ReplayOutcome replayPages(const PageList &pages, Surface &target, const std::function<void()> &newSheet,
                          WaitDialog *progress)
{
    Session &ses = session();
    ListingState &s = ses.state;
    ReplayScope scope(target);

    const int64_t count = pages.pageCount();
    int64_t drawn = 0;
    ReplayOutcome outcome = ReplayOutcome::Completed;
    QElapsedTimer sinceRepaint;
    pages.forEachPage([&](int page) {
        s.CurPage = static_cast<int16_t>(page);
        if (progress) {
            // Repainting the dialog for every page took most of the time between
            // pages; its text still changes every page, and shows every RepaintInterval.
            const bool repaint = !sinceRepaint.isValid() || sinceRepaint.hasExpired(RepaintInterval.count());
            if (repaint)
                sinceRepaint.start();
            progress->setUpdatesEnabled(repaint);
            progress->setProgressText(progressText(page, count));
            if (!lifecycle::Wait()) {
                outcome = ReplayOutcome::ListingEnded;
                return false;
            }
        }
        ignoringErrors([&ses] { PageRenderer(ses).render(); }); // a failing page keeps what it drew
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
    if (outcome == ReplayOutcome::ListingEnded)
        scope.listingEnded();
    return outcome;
}

ReplayOutcome runWithProgress(QWidget *owner, const QString &caption,
                              const std::function<ReplayOutcome(WaitDialog &)> &work)
{
    const ListingState &s = session().state;
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
