#include "preview/HitCounter.h"

#include "find/PageTextFilter.h"
#include "find/TextMatcher.h"

#include <QMetaObject>

namespace quillet {

HitCounter::HitCounter(QObject *parent) : QObject(parent) {}

HitCounter::~HitCounter()
{
    cancel();
}

void HitCounter::cancel()
{
    ++m_generation;
    // A find that cancels the count goes on at once: the thread stops on its
    // own core and is joined by the next cancel or with the counter.
    m_worker.request_stop();
    m_stopping = std::move(m_worker);
}

void HitCounter::start(SpoolSnapshot listing, int pageCount, const QString &text, FindOptions options,
                       OnView onView)
{
    cancel();
    const std::string pattern = text.toStdString();
    std::optional<TextMatcher> matcher = TextMatcher::compile(pattern, options);
    if (!matcher) {
        emit counted(0, 0, true);
        return;
    }
    m_worker =
        std::jthread([this, matcher = std::move(*matcher), listing = std::move(listing), pageCount, pattern,
                      options, onView, generation = m_generation](std::stop_token stop) mutable {
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
                          PageTextFilter(pattern, options, std::to_string(pageCount)), onView, stop, hits,
                          [&report](const Hits &sofar) { report(sofar, false); });
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
