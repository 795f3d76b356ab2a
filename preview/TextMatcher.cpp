#include "preview/TextMatcher.h"

#include <algorithm>

namespace quillet {

namespace {

/// The text as code points, upper-cased when asked, into a reused buffer.
/// Plain ASCII, most of a listing, needs no Unicode tables and no allocation.
void toCodePoints(std::string_view utf8, bool upper, std::u32string &into)
{
    into.clear();
    const bool ascii =
        std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii) {
        const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
        into = (upper ? text.toUpper() : text).toStdU32String();
        return;
    }
    for (const char c : utf8)
        into.push_back(static_cast<char32_t>(upper && c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c));
}

} // namespace

TextMatcher::TextMatcher(LikePattern exact, std::optional<LikePattern> upper, LikePattern inner,
                         std::optional<LikePattern> upperInner, bool matchesAll)
    : m_exact(std::move(exact)), m_upper(std::move(upper)), m_inner(std::move(inner)),
      m_upperInner(std::move(upperInner)), m_matchesAll(matchesAll)
{
}

std::optional<TextMatcher> TextMatcher::compile(const QString &text, bool ignoreCase)
{
    const QString wrapped = u'*' + text + u'*';
    auto exact = LikePattern::compile(wrapped.toStdU32String());
    auto inner = LikePattern::compile(text.toStdU32String());
    if (!exact || !inner)
        return std::nullopt;
    std::optional<LikePattern> upper, upperInner;
    if (ignoreCase) {
        upper = LikePattern::compile(wrapped.toUpper().toStdU32String());
        upperInner = LikePattern::compile(text.toUpper().toStdU32String());
    }
    const bool matchesAll = std::all_of(text.begin(), text.end(), [](QChar c) { return c == u'*'; });
    return TextMatcher(std::move(*exact), std::move(upper), std::move(*inner), std::move(upperInner), matchesAll);
}

bool TextMatcher::contains(std::string_view utf8) const
{
    toCodePoints(utf8, false, m_shown);
    if (m_exact.matches(m_shown))
        return true;
    if (!m_upper)
        return false;
    toCodePoints(utf8, true, m_shownUpper);
    return m_upper->matches(m_shownUpper);
}

std::optional<std::pair<size_t, size_t>> TextMatcher::firstMatch(std::string_view utf8) const
{
    if (!contains(utf8))
        return std::nullopt;
    toCodePoints(utf8, false, m_shown);
    const size_t length = m_shown.size();
    if (m_matchesAll)
        return std::pair<size_t, size_t>(0, length);
    std::optional<std::pair<size_t, size_t>> run = m_inner.firstRun(m_shown);
    if (m_upperInner) {
        toCodePoints(utf8, true, m_shownUpper);
        // A run of the upper case is marked at the same places as in the text
        // itself, so one that upper-casing lengthened ends within the text.
        const auto upperRun = m_upperInner->firstRun(std::u32string_view(m_shownUpper).substr(0, length));
        if (upperRun && (!run || *upperRun < *run))
            run = upperRun;
    }
    return run.value_or(std::pair<size_t, size_t>(0, length)); // matched only as a whole, e.g. by case folding changing lengths
}

} // namespace quillet
