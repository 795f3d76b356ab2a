#include "preview/PageTextFilter.h"

#include "preview/NeedleSearch.h"
#include "spool/PageMarkers.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace quillet {

namespace {

/// The runs of characters that the pattern matches only by themselves,
/// longest first: "*", "?", "#" and a "[list]" end a run, an empty "[]" (no
/// character at all) does not. With asciiOnly, other characters end it too.
std::vector<std::u32string> plainRuns(std::u32string_view pattern, bool asciiOnly)
{
    std::vector<std::u32string> runs(1);
    const auto endRun = [&runs] {
        if (!runs.back().empty())
            runs.emplace_back();
    };
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char32_t c = pattern[i];
        if (c == U'[') {
            const size_t close = pattern.find(U']', i + 1);
            if (close != i + 1)
                endRun();
            i = close == std::u32string_view::npos ? pattern.size() : close;
        } else if (c == U'*' || c == U'?' || c == U'#' || c == U'\uFFFD' || (asciiOnly && c >= 0x80)) {
            endRun(); // U+FFFD also stands for the bytes of malformed UTF-8 in a text
        } else {
            runs.back().push_back(c);
        }
    }
    if (runs.back().empty())
        runs.pop_back();
    std::stable_sort(runs.begin(), runs.end(), [](const auto &a, const auto &b) { return a.size() > b.size(); });
    return runs;
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

/// What upper-casing does beyond ASCII, as the matcher upper-cases: the
/// characters that come out holding ASCII ones ("ß" is "SS", dotless "ı" is
/// "I"), and those ASCII characters, in lower case.
struct UpperCasingIntoAscii {
    std::vector<bool> characters = std::vector<bool>(0x110000, false);
    std::array<bool, 0x80> produced{};
};

const UpperCasingIntoAscii &upperCasingIntoAscii()
{
    static const UpperCasingIntoAscii table = [] {
        UpperCasingIntoAscii into;
        const auto note = [&into](char32_t code, char32_t upper) {
            if (upper < 0x80) {
                into.characters[code] = true;
                into.produced[static_cast<unsigned char>(asciiLower(static_cast<char>(upper)))] = true;
            }
        };
        // Upper-casing gives more than one character (as "ß" gives "SS") only
        // for small and title-case letters: only those are upper-cased as a
        // text, each followed by a zero, and the rest one by one. Cased
        // letters are all in the first two planes; the other fifteen hold none.
        QString cased;
        std::vector<char32_t> casedCodes;
        for (char32_t code = 0x80; code < 0x20000; ++code) {
            const QChar::Category category = QChar::category(code);
            if (code < 0x10000 && (category == QChar::Letter_Lowercase || category == QChar::Letter_Titlecase)) {
                cased.append(QChar(static_cast<char16_t>(code)));
                cased.append(QChar(0));
                casedCodes.push_back(code);
            } else {
                note(code, QChar::toUpper(code));
            }
        }
        auto code = casedCodes.begin();
        for (const QChar upper : cased.toUpper()) {
            if (upper.isNull())
                ++code;
            else
                note(*code, upper.unicode());
        }
        return into;
    }();
    return table;
}

/// Whether the UTF-8 bytes hold a character whose upper case holds ASCII
/// ones; malformed bytes decode to U+FFFD, which does not.
bool holdsCharacterUpperCasedToAscii(std::string_view utf8)
{
    const std::vector<bool> &intoAscii = upperCasingIntoAscii().characters;
    const auto byte = [&utf8](size_t at) { return at < utf8.size() ? static_cast<unsigned char>(utf8[at]) : 0u; };
    const auto continuation = [&byte](size_t at) { return (byte(at) & 0xC0) == 0x80; };
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned lead = byte(i);
        char32_t code = 0;
        if (lead >= 0xC2 && lead < 0xE0 && continuation(i + 1))
            code = ((lead & 0x1F) << 6) | (byte(i + 1) & 0x3F);
        else if (lead >= 0xE0 && lead < 0xF0 && continuation(i + 1) && continuation(i + 2))
            code = ((lead & 0x0F) << 12) | ((byte(i + 1) & 0x3F) << 6) | (byte(i + 2) & 0x3F);
        else if (lead >= 0xF0 && lead < 0xF5 && continuation(i + 1) && continuation(i + 2) && continuation(i + 3))
            code = ((lead & 0x07) << 18) | ((byte(i + 1) & 0x3F) << 12) | ((byte(i + 2) & 0x3F) << 6) |
                   (byte(i + 3) & 0x3F);
        if (code < intoAscii.size() && intoAscii[code])
            return true;
    }
    return false;
}

} // namespace

PageTextFilter::PageTextFilter(const QString &pattern, bool ignoreCase, std::string pageCount)
    : m_ignoreCase(ignoreCase), m_pageCount(std::move(pageCount))
{
    // Ignoring case, the matcher compares upper case with upper case; beyond
    // ASCII that can change lengths, so only ASCII runs are looked for.
    for (const std::u32string &run : plainRuns(pattern.toStdU32String(), ignoreCase)) {
        Needle needle{QString::fromStdU32String(run).toStdString(), false};
        if (ignoreCase) {
            std::transform(needle.text.begin(), needle.text.end(), needle.text.begin(), asciiLower);
            const auto &produced = upperCasingIntoAscii().produced;
            needle.reachableBeyondAscii = std::any_of(needle.text.begin(), needle.text.end(),
                                                      [&](char c) { return produced[static_cast<unsigned char>(c)]; });
        }
        m_needles.push_back(std::move(needle));
        if (m_needles.size() == MaxNeedles)
            break;
    }
}

bool PageTextFilter::mayShow(int page, std::string_view pageTexts) const
{
    std::optional<bool> upperCasesIntoAscii; // looked for once, only when it matters
    // A matching text holds every run; a page lacking one cannot match.
    return std::all_of(m_needles.begin(), m_needles.end(), [&](const Needle &needle) {
        if (holdsNeedle(pageTexts, needle.text, m_ignoreCase))
            return true;
        if (needle.reachableBeyondAscii) {
            if (!upperCasesIntoAscii)
                upperCasesIntoAscii = holdsCharacterUpperCasedToAscii(pageTexts);
            if (*upperCasesIntoAscii)
                return true;
        }
        return expandedTextHolds(page, pageTexts, needle.text);
    });
}

bool PageTextFilter::expandedTextHolds(int page, std::string_view pageTexts, std::string_view needle) const
{
    // The index puts the texts that show the page count first.
    while (!pageTexts.empty()) {
        const size_t end = std::min(pageTexts.find('\0'), pageTexts.size());
        const std::string_view text = pageTexts.substr(0, end);
        if (text.find(PageCountMarker) == std::string_view::npos)
            return false;
        m_expanded.clear();
        appendWithMarkersExpanded(m_expanded, text, std::to_string(page), m_pageCount);
        if (holdsNeedle(m_expanded, needle, m_ignoreCase))
            return true;
        pageTexts.remove_prefix(std::min(end + 1, pageTexts.size()));
    }
    return false;
}

} // namespace quillet
