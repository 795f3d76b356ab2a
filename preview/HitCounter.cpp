#include "preview/HitCounter.h"

#include "preview/PageTextFilter.h"
#include "preview/TextMatcher.h"
#include "spool/PageReader.h"
#include "spool/PageTextIndex.h"
#include "spool/SpoolFile.h"

#include <QMetaObject>

#include <algorithm>
#include <exception>
#include <functional>

namespace quillet {

namespace {

/// Pages counted between two reports of the count so far.
constexpr int PagesPerReport = 500;

/// The text as its page shows it: the page-count and page-number markers,
/// in any case, replaced by their numbers.
std::string withMarkers(const std::string &text, const QString &pageCount, int page)
{
    if (text.find_first_of("tTpP") == std::string::npos)
        return text;
    return QString::fromStdString(text)
        .replace(QLatin1String("TRICOCO"), pageCount, Qt::CaseInsensitive)
        .replace(QLatin1String("PRICOCO"), QString::number(page), Qt::CaseInsensitive)
        .toStdString();
}

/// One count, on the counter's thread. The index's texts are not exactly
/// the commands' (it leaves empty texts out, splits a text at a zero byte and
/// reads a stray PageCountSentinel as the marker), so it only picks the pages
/// read from the spool; hits are always counted on the spool's records.
class Count {
public:
    using Report = std::function<void(int ordinal, int hits, bool finished)>;

    Count(TextMatcher matcher, PageTextFilter filter, std::unique_ptr<SpoolFile> spool,
          std::vector<int32_t> pageIndex, int pageCount, HitCounter::OnView onView, std::stop_token stop,
          Report report)
        : m_matcher(std::move(matcher)), m_filter(std::move(filter)), m_spool(std::move(spool)),
          m_pageIndex(std::move(pageIndex)), m_pageCount(pageCount),
          m_pageCountText(QString::number(pageCount)), m_onView(onView), m_stop(std::move(stop)),
          m_report(std::move(report))
    {
    }

    /// Counts the first indexedPages pages through the index at indexPath,
    /// the others from the spool, then reports the end.
    void run(const std::string &indexPath, int indexedPages)
    {
        try {
            countIndexedPages(indexPath, indexedPages);
        } catch (const std::exception &) {
            // A damaged byte count can ask for more memory than there is: the
            // pages not yet settled are read from the spool.
        }
        try {
            countFromSpoolAfter(m_settledPages);
        } catch (const std::exception &) {
            // The count so far is reported rather than lost with the thread.
        }
        m_report(m_ordinal, m_hits, true);
    }

private:
    /// Counts the pages the index may show a match on, settling pages in
    /// order: all knownPages, or fewer when the file is missing or damaged
    /// or the count stops.
    void countIndexedPages(const std::string &indexPath, int knownPages)
    {
        if (knownPages <= 0 || m_filter.passesEverything())
            return;
        int current = 0;
        bool inOrder = true;
        const bool intact = PageTextIndex::readPages(indexPath, [&](int page, std::string_view texts) {
            if (m_stop.stop_requested() || page > knownPages)
                return false;
            if (page < current) {
                inOrder = false;
                return false;
            }
            if (page < 1)
                return true;
            if (page > current) {
                current = page;
                m_settledPages = page - 1;
                noteProgress(page);
            }
            // A page may come in more than one record: read it once, when one may match.
            if (m_settledPages < page && m_filter.mayShow(texts)) {
                forEachRecordOfPage(*m_spool, m_pageIndex, page,
                                    [this](const SpoolRecord &record) { count(record); });
                m_settledPages = page;
            }
            return true;
        });
        if (intact && inOrder && !m_stop.stop_requested())
            m_settledPages = knownPages;
    }

    /// Counts, record by record, the pages after the first settledPages.
    void countFromSpoolAfter(int settledPages)
    {
        if (settledPages >= m_pageCount)
            return;
        // The last settled page has an entry; the one after it may not.
        m_spool->seek(settledPages >= 1 ? std::max(1, m_pageIndex[settledPages - 1]) : 1);
        while (!m_stop.stop_requested()) {
            const std::optional<SpoolRecord> record = m_spool->read();
            if (!record)
                break;
            if (record->page > settledPages && record->page <= m_pageCount) {
                count(*record);
                noteProgress(record->page);
            }
        }
    }

    void count(const SpoolRecord &record)
    {
        if (!isTextCommand(record.op) ||
            !m_matcher.contains(withMarkers(record.text, m_pageCountText, record.page)))
            return;
        ++m_hits;
        if (record.page == m_onView.page && m_hitsOnViewPage++ == m_onView.indexOnPage)
            m_ordinal = m_hits;
    }

    void noteProgress(int page)
    {
        if (page - m_lastReportedPage < PagesPerReport)
            return;
        m_lastReportedPage = page;
        m_report(m_ordinal, m_hits, false);
    }

    TextMatcher m_matcher;
    PageTextFilter m_filter;
    std::unique_ptr<SpoolFile> m_spool;
    std::vector<int32_t> m_pageIndex;
    int m_pageCount;
    QString m_pageCountText;
    HitCounter::OnView m_onView;
    std::stop_token m_stop;
    Report m_report;
    int m_settledPages = 0; ///< counted from the first, or known to hold no hit
    int m_hits = 0, m_ordinal = 0, m_hitsOnViewPage = 0, m_lastReportedPage = 0;
};

} // namespace

HitCounter::HitCounter(QObject *parent) : QObject(parent) {}

HitCounter::~HitCounter()
{
    cancel();
}

void HitCounter::cancel()
{
    if (m_worker.joinable()) {
        m_worker.request_stop();
        m_worker.join();
    }
}

void HitCounter::start(const std::string &spoolPath, int pageCount, const QString &text, bool ignoreCase,
                       OnView onView, PageTextIndex *texts, const std::vector<int32_t> &pageIndex)
{
    cancel();
    std::optional<TextMatcher> matcher = TextMatcher::compile(text, ignoreCase);
    std::unique_ptr<SpoolFile> spool = matcher ? SpoolFile::open(spoolPath) : nullptr;
    if (!spool) {
        emit counted(0, 0, true);
        return;
    }
    // The index is written on this thread: settle here what the count may trust.
    std::string indexPath;
    int indexedPages = 0;
    if (texts) {
        texts->flush();
        indexPath = texts->path();
        indexedPages = std::min({texts->completePages(), pageCount, static_cast<int>(pageIndex.size())});
    }
    m_worker =
        std::jthread([this, matcher = std::move(*matcher), spool = std::move(spool), pageIndex, pageCount,
                      text, ignoreCase, onView, indexPath, indexedPages](std::stop_token stop) mutable {
            auto report = [this, stop](int ordinal, int hits, bool finished) {
                if (!stop.stop_requested())
                    QMetaObject::invokeMethod(
                        this, [this, ordinal, hits, finished] { emit counted(ordinal, hits, finished); },
                        Qt::QueuedConnection);
            };
            Count(std::move(matcher), PageTextFilter(text, ignoreCase, std::to_string(pageCount)),
                  std::move(spool), std::move(pageIndex), pageCount, onView, stop, std::move(report))
                .run(indexPath, indexedPages);
        });
}

} // namespace quillet
