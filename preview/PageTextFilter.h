#pragma once
// Which pages of the text index could hold a match of a find, from the
// longest run of plain characters in its pattern: a page whose texts lack
// that run cannot match, and is not searched in the spool. It may let a page
// through that does not match; it never stops one that does.

#include <QString>

#include <string>
#include <string_view>

namespace quillet {

class PageTextFilter {
public:
    /// pageCount is the text that replaces the page-count marker.
    PageTextFilter(const QString &pattern, bool ignoreCase, std::string pageCount);

    /// Whether the pattern has no plain run to look for, so that every page passes.
    bool passesEverything() const { return m_needle.empty(); }
    /// Whether a page with these texts (as the index keeps them) could match.
    bool mayShow(std::string_view pageTexts) const;

private:
    bool holdsNeedle(std::string_view texts) const;

    /// UTF-8; ASCII only, in lower case, when case is ignored.
    std::string m_needle;
    bool m_ignoreCase;
    std::string m_pageCount;
    mutable std::string m_folded, m_expanded; ///< reused from page to page
};

} // namespace quillet
