#include "preview/TextFinder.h"

#include "compose/Composer.h"
#include "preview/PageTextFilter.h"
#include "preview/TextMatcher.h"
#include "spool/PageReader.h"

#include <algorithm>
#include <vector>

namespace quillet {

std::optional<int> TextFinder::find(const QString &text, bool ignoreCase, int startPage, Direction direction)
{
    ListingState &s = m_session.state;
    const std::optional<TextMatcher> matcher = TextMatcher::compile(text, ignoreCase);
    const int pageCount = static_cast<int>(s.PageIndex.size());
    if (!matcher || !m_session.spool || startPage < 1 || startPage > pageCount)
        return std::nullopt;

    const std::vector<bool> &candidates = candidatePages(text, ignoreCase, pageCount);
    SpoolFile &spool = *m_session.spool;
    const int16_t savedPage = s.CurPage;
    const Composer composer(m_session);
    const int step = direction == Direction::Forward ? 1 : -1;
    for (int page = startPage; page >= 1 && page <= pageCount; page += step) {
        if (!candidates[page])
            continue;
        s.CurPage = static_cast<int16_t>(page); // the markers read as on the page
        bool found = false;
        forEachRecordOfPage(spool, s.PageIndex, page, [&](const SpoolRecord &record) {
            found = found || (isTextCommand(record.op) && matcher->contains(composer.ExpandMarkers(record.text)));
        });
        if (found)
            return page;
    }
    s.CurPage = savedPage;
    return std::nullopt;
}

const std::vector<bool> &TextFinder::candidatePages(const QString &text, bool ignoreCase, int pageCount)
{
    Candidates &kept = m_candidates;
    if (kept.text == text && kept.ignoreCase == ignoreCase && kept.pages.size() == static_cast<size_t>(pageCount) + 1)
        return kept.pages;
    kept = {text, ignoreCase, std::vector<bool>(static_cast<size_t>(pageCount) + 1, true)};
    std::vector<bool> &candidates = kept.pages;
    PageTextIndex *index = m_session.spool->texts();
    // The count the page-count marker shows in the preview.
    const PageTextFilter filter(text, ignoreCase, std::to_string(m_session.state.NumPages));
    if (!index || filter.passesEverything())
        return candidates;
    index->flush();
    // Pages the index does not know in full stay candidates.
    const int known = std::min(index->completePages(), pageCount);
    std::fill(candidates.begin(), candidates.begin() + known + 1, false);
    const bool intact = PageTextIndex::readPages(index->path(), [&](int page, std::string_view texts) {
        if (page >= 1 && page <= known && !candidates[page])
            candidates[page] = filter.mayShow(texts);
        return true;
    });
    if (!intact)
        std::fill(candidates.begin(), candidates.end(), true);
    return candidates;
}

} // namespace quillet
