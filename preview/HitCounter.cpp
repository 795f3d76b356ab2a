#include "preview/HitCounter.h"

#include "preview/PageScan.h"
#include "preview/PageTextFilter.h"
#include "preview/TextMatcher.h"

#include <QMetaObject>

namespace quillet {

namespace {

/// Pages counted between two reports of the count so far.
constexpr int PagesPerReport = 500;

struct Hits {
    int ordinal = 0; ///< the number of the hit on view, 0 while unknown
    int count = 0;
};

/// Counts into hits, on the counter's thread, calling report(hits) now and then.
template <typename Report>
void countHits(SpoolSnapshot &listing, int pageCount, const TextMatcher &matcher,
               const PageTextFilter &filter, HitCounter::OnView onView, const std::stop_token &stop,
               Hits &hits, Report &&report)
{
    const std::vector<bool> candidates = PageScan::candidatePages(listing.texts, filter, pageCount, stop);
    int hitsOnViewPage = 0, reportedPage = 0;
    PageScan(listing, candidates, std::to_string(pageCount), stop)
        .walk(1, pageCount, [&](int page, std::string_view shown) {
            if (page - reportedPage >= PagesPerReport) {
                reportedPage = page;
                report(hits);
            }
            if (matcher.contains(shown)) {
                ++hits.count;
                if (page == onView.page && hitsOnViewPage++ == onView.indexOnPage)
                    hits.ordinal = hits.count;
            }
            return true;
        });
}

} // namespace

HitCounter::HitCounter(QObject *parent) : QObject(parent) {}

HitCounter::~HitCounter()
{
    cancel();
}

void HitCounter::cancel()
{
    ++m_generation;
    if (m_worker.joinable()) {
        m_worker.request_stop();
        m_worker.join();
    }
}

void HitCounter::start(SpoolSnapshot listing, int pageCount, const QString &text, bool ignoreCase,
                       OnView onView)
{
    cancel();
    std::optional<TextMatcher> matcher = TextMatcher::compile(text, ignoreCase);
    if (!matcher) {
        emit counted(0, 0, true);
        return;
    }
    m_worker = std::jthread([this, matcher = std::move(*matcher), listing = std::move(listing), pageCount,
                             text, ignoreCase, onView, generation = m_generation](std::stop_token stop) mutable {
        const auto report = [this, &stop, generation](Hits hits, bool finished) {
            // A report sent just before a cancel arrives after it: it is
            // dropped there, on the counter's own thread.
            if (!stop.stop_requested())
                QMetaObject::invokeMethod(
                    this,
                    [this, hits, finished, generation] {
                        if (generation == m_generation)
                            emit counted(hits.ordinal, hits.count, finished);
                    },
                    Qt::QueuedConnection);
        };
        Hits hits;
        try {
            countHits(listing, pageCount, matcher,
                      PageTextFilter(text, ignoreCase, std::to_string(pageCount)), onView, stop, hits,
                      [&report](Hits sofar) { report(sofar, false); });
        } catch (...) {
            // The count so far is reported rather than lost with the thread.
        }
        try {
            report(hits, true);
        } catch (...) {
            // Nothing is left to tell it to.
        }
    });
}

} // namespace quillet
