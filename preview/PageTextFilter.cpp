#include "preview/PageTextFilter.h"

#include "spool/PageTextIndex.h"

#include <algorithm>
#include <vector>

namespace quillet {

namespace {

/// The longest run of characters that the pattern matches only by
/// themselves: "*", "?", "#" and a "[list]" end a run, an empty "[]" (no
/// character at all) does not. With asciiOnly, other characters end it too.
std::u32string longestPlainRun(std::u32string_view pattern, bool asciiOnly)
{
    std::u32string run, longest;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char32_t c = pattern[i];
        if (c == U'[') {
            const size_t close = pattern.find(U']', i + 1);
            if (close != i + 1)
                run.clear();
            i = close == std::u32string_view::npos ? pattern.size() : close;
            continue;
        }
        // U+FFFD also stands for the bytes of malformed UTF-8 in a text.
        if (c == U'*' || c == U'?' || c == U'#' || c == U'\uFFFD' || (asciiOnly && c >= 0x80)) {
            run.clear();
            continue;
        }
        run.push_back(c);
        if (run.size() > longest.size())
            longest = run;
    }
    return longest;
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

/// Characters beyond ASCII whose upper case holds an ASCII one ("ß" is
/// "SS", dotless "ı" is "I"), as the matcher upper-cases them.
bool upperCaseHoldsAscii(char32_t c)
{
    static const std::vector<bool> table = [] {
        std::vector<bool> holds(0x10000, false);
        for (char32_t code = 0x80; code < 0x10000; ++code) {
            const QChar character(static_cast<char16_t>(code));
            if (character.isSurrogate())
                continue;
            const QString upper = QString(character).toUpper();
            holds[code] = std::any_of(upper.begin(), upper.end(), [](QChar u) { return u.unicode() < 0x80; });
        }
        return holds;
    }();
    return c >= table.size() || table[c]; // beyond the first plane: assume it may
}

/// Whether the UTF-8 bytes hold a character that upperCaseHoldsAscii;
/// malformed bytes decode to U+FFFD, which does not.
bool holdsCharacterUpperCasedToAscii(std::string_view utf8)
{
    const auto continuation = [&](size_t at) {
        return at < utf8.size() && (static_cast<unsigned char>(utf8[at]) & 0xC0) == 0x80;
    };
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0xC2)
            continue;
        if (lead < 0xE0 && continuation(i + 1)) {
            if (upperCaseHoldsAscii(((lead & 0x1F) << 6) | (utf8[i + 1] & 0x3F)))
                return true;
        } else if (lead < 0xF0 && continuation(i + 1) && continuation(i + 2)) {
            if (upperCaseHoldsAscii(((lead & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) | (utf8[i + 2] & 0x3F)))
                return true;
        } else if (lead >= 0xF0) {
            return true;
        }
    }
    return false;
}

} // namespace

PageTextFilter::PageTextFilter(const QString &pattern, bool ignoreCase, std::string pageCount)
    : m_ignoreCase(ignoreCase), m_pageCount(std::move(pageCount))
{
    // Ignoring case, the matcher compares upper case with upper case; beyond
    // ASCII that can change lengths, so only an ASCII run is looked for.
    const std::u32string run = longestPlainRun(pattern.toStdU32String(), ignoreCase);
    m_needle = QString::fromStdU32String(run).toStdString();
    if (ignoreCase)
        std::transform(m_needle.begin(), m_needle.end(), m_needle.begin(), asciiLower);
}

bool PageTextFilter::holdsNeedle(std::string_view texts) const
{
    if (!m_ignoreCase)
        return texts.find(m_needle) != std::string_view::npos;
    m_folded.resize(texts.size());
    std::transform(texts.begin(), texts.end(), m_folded.begin(), asciiLower);
    return m_folded.find(m_needle) != std::string::npos || holdsCharacterUpperCasedToAscii(texts);
}

bool PageTextFilter::mayShow(std::string_view pageTexts) const
{
    if (m_needle.empty() || holdsNeedle(pageTexts))
        return true;
    // The texts with the page-count marker, as they show with the count.
    for (size_t at = pageTexts.find(PageCountSentinel); at != std::string_view::npos;) {
        const size_t before = pageTexts.rfind('\0', at);
        const size_t begin = before == std::string_view::npos ? 0 : before + 1;
        const size_t end = std::min(pageTexts.find('\0', at), pageTexts.size());
        m_expanded.assign(pageTexts.substr(begin, end - begin));
        for (size_t mark = m_expanded.find(PageCountSentinel); mark != std::string::npos;
             mark = m_expanded.find(PageCountSentinel, mark + m_pageCount.size()))
            m_expanded.replace(mark, 1, m_pageCount);
        if (holdsNeedle(m_expanded))
            return true;
        at = pageTexts.find(PageCountSentinel, end);
    }
    return false;
}

} // namespace quillet
