#include "preview/TextFinder.h"

#include "compose/Session.h"
#include "preview/PageScan.h"
#include "preview/PageTextFilter.h"
#include "preview/TextMatcher.h"

namespace quillet {

std::optional<int> TextFinder::find(const QString &text, bool ignoreCase, int startPage, Direction direction)
{
    ListingState &s = m_session.state;
    const std::optional<TextMatcher> matcher = TextMatcher::compile(text, ignoreCase);
    const int pageCount = static_cast<int>(s.PageIndex.size());
    if (!matcher || !m_session.spool || startPage < 1 || startPage > pageCount)
        return std::nullopt;

    SpoolSnapshot listing = m_session.spool->snapshot(s.PageIndex);
    PageScan scan(listing, candidatePages(listing.texts, text, ignoreCase, pageCount),
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

const std::vector<bool> &TextFinder::candidatePages(const PageTextReader &texts, const QString &text,
                                                    bool ignoreCase, int pageCount)
{
    Candidates &kept = m_candidates;
    if (kept.text != text || kept.ignoreCase != ignoreCase ||
        kept.pages.size() != static_cast<size_t>(pageCount) + 1)
        // The count the page-count marker shows in the preview.
        kept = {text, ignoreCase,
                PageScan::candidatePages(
                    texts, PageTextFilter(text, ignoreCase, std::to_string(m_session.state.NumPages)),
                    pageCount)};
    return kept.pages;
}

} // namespace quillet
