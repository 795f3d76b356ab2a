#pragma once
// Which pages of the text index could hold a match of a find, from the runs
// of plain characters in its pattern: a page whose texts lack one of them
// cannot match, and is not searched in the spool. It may let a page
// through that does not match; it never stops one that does.

#include "find/TextFolding.h"
#include "spool/PageTextReader.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class PageTextFilter {
public:
    /// pattern in UTF-8; pageCount is the text that replaces the page-count marker.
    PageTextFilter(std::string_view pattern, FindOptions options, std::string pageCount);

    /// Whether the pattern has no plain run to look for, so that every page passes.
    bool passesEverything() const { return m_needles.empty(); }
    /// Whether a page of the text index could match.
    bool mayShow(const IndexedPage &page) const;

private:
    /// Runs looked for, at most: the longest ones tell pages apart enough.
    static constexpr size_t MaxNeedles = 4;

    /// Whether one of the page's texts with the page-count marker holds needle
    /// as the page shows it.
    bool expandedTextHolds(int page, std::string_view pageTexts, std::string_view needle) const;

    struct Needle {
        /// UTF-8, folded as the matcher folds: ASCII letters in small letters
        /// when case is ignored.
        std::string text;
        /// The characters beyond ASCII (see PageTextFilter.cpp) that, held by
        /// a page, let it pass whether its bytes hold the needle or not.
        unsigned char passedBy = 0;
        /// Set in the page text index of every page whose texts hold it.
        std::vector<uint16_t> trigramBits{};
    };
    std::vector<Needle> m_needles; ///< longest first
    FindOptions m_options;
    std::string m_pageCount;
    mutable std::string m_expanded; ///< reused from page to page
};

} // namespace quillet
