#include "find/HitCount.h"

#include "find/PageScan.h"
#include "find/PageTextFilter.h"
#include "find/TextMatcher.h"

namespace quillet {

namespace {

/// Pages counted between two reports of the count so far.
constexpr int PagesPerReport = 500;

} // namespace

void countHits(SpoolSnapshot &listing, int pageCount, const TextMatcher &matcher,
               const PageTextFilter &filter, HitOnView onView, const std::stop_token &stop, Hits &hits,
               const std::function<void(const Hits &)> &report)
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

} // namespace quillet
