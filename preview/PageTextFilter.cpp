#include "preview/PageTextFilter.h"

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
        // The first plane in one call, each character followed by a zero, as
        // upper-casing may turn one character into more ("ß" into "SS").
        QString plane;
        plane.reserve(2 * 0x10000);
        for (char32_t code = 0x80; code < 0x10000; ++code) {
            if (!QChar::isSurrogate(code))
                plane.append(QChar(static_cast<char16_t>(code)));
            plane.append(QChar(0));
        }
        char32_t code = 0x80;
        for (const QChar upper : plane.toUpper()) {
            if (upper.isNull())
                ++code;
            else
                note(code, upper.unicode());
        }
        // One character to one: longer forms are all in the first plane. Cased
        // letters beyond it are all in the second (the rest hold none), and
        // asking for the other fifteen planes took the find's first 2 ms.
        for (code = 0x10000; code < 0x20000; ++code)
            note(code, QChar::toUpper(code));
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

std::string_view PageTextFilter::comparable(std::string_view texts, std::string &folded) const
{
    if (!m_ignoreCase)
        return texts;
    folded.resize(texts.size());
    std::transform(texts.begin(), texts.end(), folded.begin(), asciiLower);
    return folded;
}

bool PageTextFilter::mayShow(int page, std::string_view pageTexts) const
{
    const std::string_view texts = comparable(pageTexts, m_folded);
    std::optional<bool> upperCasesIntoAscii; // looked for once, only when it matters
    // A matching text holds every run; a page lacking one cannot match.
    return std::all_of(m_needles.begin(), m_needles.end(), [&](const Needle &needle) {
        if (texts.find(needle.text) != std::string_view::npos)
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
    for (size_t at = pageTexts.find(PageCountMarker); at != std::string_view::npos;) {
        const size_t before = pageTexts.rfind('\0', at);
        const size_t begin = before == std::string_view::npos ? 0 : before + 1;
        const size_t end = std::min(pageTexts.find('\0', at), pageTexts.size());
        m_expanded.clear();
        appendWithMarkersExpanded(m_expanded, pageTexts.substr(begin, end - begin), std::to_string(page),
                                  m_pageCount);
        if (comparable(m_expanded, m_expandedFolded).find(needle) != std::string_view::npos)
            return true;
        at = pageTexts.find(PageCountMarker, end);
    }
    return false;
}

} // namespace quillet
