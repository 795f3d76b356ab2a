#pragma once
// A find's search text, compiled once: whether a text shown on a page
// contains a match, and where. Both are compared folded (find/TextFolding).

#include "find/LikePattern.h"
#include "find/TextFolding.h"

#include <optional>
#include <string_view>
#include <utility>

namespace quillet {

class TextMatcher {
public:
    /// Nothing when the UTF-8 text is not a valid pattern.
    static std::optional<TextMatcher> compile(std::string_view pattern, FindOptions options);

    /// Whether the UTF-8 text contains a match.
    bool contains(std::string_view utf8) const;
    /// The first and shortest matching run of the text's code points, as
    /// (first, end); the whole text for a search text that is empty or only "*".
    std::optional<std::pair<size_t, size_t>> firstMatch(std::string_view utf8) const;

private:
    TextMatcher(TextFolding folding, LikePattern wrapped, LikePattern inner, bool matchesAll);

    TextFolding m_folding;
    /// The search text with "*" around it, and alone: matched against runs.
    LikePattern m_wrapped, m_inner;
    bool m_matchesAll;
    /// Reused between calls: a find runs over every text of the listing.
    mutable FoldedText m_shown;
};

} // namespace quillet
