#include "find/TextMatcher.h"

#include <algorithm>

namespace quillet {

TextMatcher::TextMatcher(TextFolding folding, LikePattern wrapped, LikePattern inner, bool matchesAll)
    : m_folding(folding), m_wrapped(std::move(wrapped)), m_inner(std::move(inner)), m_matchesAll(matchesAll)
{
}

std::optional<TextMatcher> TextMatcher::compile(std::string_view pattern, FindOptions options)
{
    const TextFolding folding(options);
    const std::u32string text = TextFolding::composed(pattern);
    const LikePattern::Fold fold = [&folding](char32_t c) { return folding.foldCharacter(c); };
    auto wrapped = LikePattern::compile(U'*' + text + U'*', fold);
    auto inner = LikePattern::compile(text, fold);
    if (!wrapped || !inner)
        return std::nullopt;
    const bool matchesAll = std::all_of(text.begin(), text.end(), [](char32_t c) { return c == U'*'; });
    return TextMatcher(folding, std::move(*wrapped), std::move(*inner), matchesAll);
}

bool TextMatcher::contains(std::string_view utf8) const
{
    m_folding.fold(utf8, m_shown);
    return m_wrapped.matches(m_shown.view());
}

std::optional<std::pair<size_t, size_t>> TextMatcher::firstMatch(std::string_view utf8) const
{
    if (!contains(utf8))
        return std::nullopt;
    const std::pair<size_t, size_t> whole(0, m_shown.writtenLength);
    if (m_matchesAll)
        return whole;
    const std::optional<std::pair<size_t, size_t>> run = m_inner.firstRun(m_shown.view());
    // Matched only as a whole: a search text of empty lists, or the empty text.
    return run ? m_shown.written(*run) : whole;
}

} // namespace quillet
