#include "find/TextFinder.h"

#include "compose/Session.h"
#include "find/PageScan.h"
#include "find/PageTextFilter.h"
#include "find/TextMatcher.h"

namespace quillet {

std::optional<int> TextFinder::find(std::string_view pattern, FindOptions options, int startPage,
                                    Direction direction)
{
    ListingState &s = m_session.state;
    const std::optional<TextMatcher> matcher = TextMatcher::compile(pattern, options);
    const int pageCount = static_cast<int>(s.PageIndex.size());
    if (!matcher || !m_session.spool || startPage < 1 || startPage > pageCount)
        return std::nullopt;

    SpoolSnapshot listing = m_session.spool->snapshot(s.PageIndex);
    PageScan scan(listing, candidatePages(listing.texts, pattern, options, pageCount),
                  std::to_string(s.NumPages));
    std::optional<int> found;
    scan.walk(startPage, direction == Direction::Forward ? pageCount : 1,
              [&](int page, std::string_view shown) {
                  if (matcher->contains(shown))
                      found = page;
                  return !found;
              });
    if (found)
        s.CurPage = static_cast<int16_t>(*found);
    return found;
}

const std::vector<bool> &TextFinder::candidatePages(const PageTextReader &texts, std::string_view pattern,
                                                    FindOptions options, int pageCount)
{
    Candidates &kept = m_candidates;
    if (kept.pattern != pattern || kept.options != options ||
        kept.pages.size() != static_cast<size_t>(pageCount) + 1)
        // The count the page-count marker shows in the preview.
        kept = {std::string(pattern), options,
                PageScan::candidatePages(
                    texts, PageTextFilter(pattern, options, std::to_string(m_session.state.NumPages)),
                    pageCount)};
    return kept.pages;
}

} // namespace quillet
