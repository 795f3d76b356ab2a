#pragma once
// One scan for find and the hit counter: the page text index rules pages
// out, and the pages left are read from the spool, record by record, each
// text command's text given as its page shows it, markers expanded.

#include "spool/SpoolFile.h"

#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class PageTextFilter;

class PageScan {
public:
    /// For each page from 1 to pageCount (entry 0 unused), whether the index
    /// cannot rule it out. Pages it does not hold in full stay in; all do when
    /// it cannot be read.
    /// A stop asked for ends the reading early: all pages stay in then.
    static std::vector<bool> candidatePages(const PageTextReader &texts, const PageTextFilter &filter,
                                            int pageCount, std::stop_token stop = {});

    /// Scans listing's candidate pages; pageCount replaces the page-count
    /// marker. A stop asked for ends the scan at the next record.
    PageScan(SpoolSnapshot &listing, const std::vector<bool> &candidates, std::string pageCount,
             std::stop_token stop = {});

    /// Calls visit(page, shownText) for each text command of the candidate
    /// pages from first to last, in either direction, until visit returns
    /// false or the scan is stopped.
    template <typename Visit> void walk(int first, int last, Visit &&visit)
    {
        const int step = first <= last ? 1 : -1;
        for (int page = first; page != last + step && !m_stop.stop_requested(); page += step) {
            if (page < 1 || static_cast<size_t>(page) >= m_candidates.size() || !m_candidates[page])
                continue;
            startPage(page);
            while (const std::string *shown = nextShownText(page))
                if (!visit(page, std::string_view(*shown)))
                    return;
        }
    }

private:
    /// Moves to the first record of page: the slot its PageIndex entry names,
    /// or, without one, on from where the last read stopped, past the records
    /// of earlier pages.
    void startPage(int page);
    /// The next text command of page as the page shows it; nothing at the
    /// page's end or once stopped.
    const std::string *nextShownText(int page);
    void readNext();

    SpoolReader &m_records;
    const std::vector<int32_t> &m_pageIndex;
    const std::vector<bool> &m_candidates;
    std::stop_token m_stop;
    std::string m_pageCount, m_pageNumber;
    std::optional<SpoolRecord> m_next; ///< the record read last, not yet handed out
    int32_t m_nextSlot = 0;            ///< where m_next starts
    std::string m_shown;
};

} // namespace quillet
