#include "find/PageScan.h"

#include "compose/Commands.h"

#include "find/PageTextFilter.h"
#include "spool/PageMarkers.h"

#include <algorithm>

namespace quillet {

std::vector<bool> PageScan::candidatePages(const PageTextReader &texts, const PageTextFilter &filter,
                                           int pageCount, std::stop_token stop)
{
    std::vector<bool> candidates(static_cast<size_t>(std::max(pageCount, 0)) + 1, true);
    if (filter.passesEverything() || stop.stop_requested())
        return candidates;
    const int known = std::clamp(texts.completePages(), 0, pageCount);
    std::fill(candidates.begin() + 1, candidates.begin() + known + 1, false);
    const bool intact = texts.readPages([&](const IndexedPage &page) {
        if (page.page >= 1 && page.page <= known && !candidates[page.page])
            candidates[page.page] = filter.mayShow(page);
        return !stop.stop_requested();
    });
    if (!intact)
        std::fill(candidates.begin(), candidates.end(), true);
    return candidates;
}

PageScan::PageScan(SpoolSnapshot &listing, const std::vector<bool> &candidates, std::string pageCount,
                   std::stop_token stop)
    : m_records(listing.records), m_pageIndex(listing.pageIndex), m_candidates(candidates),
      m_stop(std::move(stop)), m_pageCount(std::move(pageCount))
{
    m_records.seek(1);
    readNext();
}

void PageScan::readNext()
{
    m_nextSlot = m_records.position();
    m_next = m_records.read();
}

void PageScan::startPage(int page)
{
    m_pageNumber = std::to_string(page);
    if (page <= static_cast<int>(m_pageIndex.size()) && m_pageIndex[page - 1] >= 1) {
        // Reading the pages in order, the last page's read already stopped there.
        if (m_nextSlot != m_pageIndex[page - 1]) {
            m_records.seek(m_pageIndex[page - 1]);
            readNext();
        }
        return;
    }
    while (m_next && m_next->page < page)
        readNext();
}

const std::string *PageScan::nextShownText(int page)
{
    // A page may hold millions of drawing records and no text: the stop is
    // looked at for each record, not only for each text.
    while (m_next && m_next->page == page && !m_stop.stop_requested()) {
        const bool shown = commands::showsText(m_next->op);
        if (shown) {
            m_shown.clear();
            appendWithMarkersExpanded(m_shown, m_next->text, m_pageNumber, m_pageCount);
        }
        readNext();
        if (shown)
            return &m_shown;
    }
    return nullptr;
}

} // namespace quillet
