#pragma once
// A find's search text, compiled once: whether a text shown on a page
// contains a match, and where. Case is ignored by comparing upper case with
// upper case, as well as the text as it is.

#include "preview/LikePattern.h"

#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace quillet {

class TextMatcher {
public:
    /// Nothing when the text is not a valid pattern.
    static std::optional<TextMatcher> compile(const QString &text, bool ignoreCase);

    /// Whether the UTF-8 text contains a match.
    bool contains(std::string_view utf8) const;
    /// The first and shortest matching run of code points, as (first, end);
    /// the whole text for a search text that is empty or only "*".
    std::optional<std::pair<size_t, size_t>> firstMatch(std::string_view utf8) const;

private:
    TextMatcher(LikePattern exact, std::optional<LikePattern> upper, LikePattern inner,
                std::optional<LikePattern> upperInner, bool matchesAll);

    LikePattern m_exact;
    std::optional<LikePattern> m_upper;
    /// The search text alone, without the "*" around it: matched against runs.
    LikePattern m_inner;
    std::optional<LikePattern> m_upperInner;
    bool m_matchesAll;
    /// Reused between calls: a find runs over every text of the listing.
    mutable std::u32string m_shown, m_shownUpper;
};

} // namespace quillet
