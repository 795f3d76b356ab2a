#pragma once
// Find: the first page whose text commands show a text matching a wildcard
// pattern. The spool's page text index names the pages that could match;
// only those are read from the spool, record by record, so a find over
// 32 000 pages reads the texts once and needs little more memory than for one.
// A finder serves one listing once it is composed.

#include "find/TextFolding.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class PageTextReader;
struct Session;

class TextFinder {
public:
    enum class Direction { Forward, Backward };

    explicit TextFinder(Session &session) : m_session(session) {}

    /// The first page from startPage (numbered from 1) towards the end, or
    /// towards page 1 when searching backward, with a text that contains a
    /// match of pattern, a Like pattern in UTF-8; markers are read as their page shows
    /// them. On a match CurPage is that page; otherwise CurPage is left as it
    /// was and the result is empty, also for an invalid pattern.
    std::optional<int> find(std::string_view pattern, FindOptions options, int startPage,
                            Direction direction = Direction::Forward);

private:
    /// For each page (numbered from 1), whether it could hold a match. Kept
    /// for the last pattern: "find next" on a shown listing reads the index
    /// again only for another pattern.
    const std::vector<bool> &candidatePages(const PageTextReader &texts, std::string_view pattern,
                                            FindOptions options, int pageCount);

    Session &m_session;
    struct Candidates {
        std::string pattern;
        FindOptions options;
        std::vector<bool> pages;
    } m_candidates;
};

} // namespace quillet
