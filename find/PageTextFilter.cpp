#include "find/PageTextFilter.h"

#include "base/AsciiRun.h"
#include "find/NeedleSearch.h"
#include "spool/PageMarkers.h"
#include "spool/PageTrigrams.h"

#include <utf8proc.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <optional>

namespace quillet {

namespace {

/// What folding does to a character beyond ASCII, as far as a needle is
/// concerned. A page whose characters beyond ASCII fold to themselves and do
/// not compose with their neighbours folds to its own bytes, ASCII case
/// aside: the needle is in them or nowhere.
enum CharacterChange : unsigned char {
    Changes = 1,    ///< folds to something else, or may compose with the character before
    GivesAscii = 2, ///< folds to code points that hold ASCII ones ("ß" to "ss", the Kelvin sign to "k")
    Vanishes = 4,   ///< a mark dropped with the accents: what is around it comes together
};

/// The bit of PageCharacters that a character beyond ASCII belongs to, as an index.
size_t rangeOf(char32_t c)
{
    return c < 0xC0 ? 0 : c < 0xE0 ? 1 : c < 0x100 ? 2 : 3;
}

/// What folding does to each character beyond ASCII, worked out the first
/// time a page shows it: a find starts without going through every code
/// point. Finds and hit counts run on several threads; each works out the
/// same value, so a relaxed store is enough.
class CharacterChanges {
public:
    explicit CharacterChanges(FindOptions options) : m_options(options), m_folding(options)
    {
        for (char32_t c = 0x80; c < 0x100; ++c)
            m_ofRange[rangeOf(c)] |= of(c);
        // Beyond Latin-1 anything may come, bytes that are no UTF-8 too.
        m_ofRange[3] = Changes | GivesAscii | Vanishes;
    }

    unsigned char of(char32_t c) const
    {
        if (c > 0x10FFFF)
            return Changes;
        // Only the first plane is remembered: a table for every code point
        // took a millisecond to set up, and pages seldom show the others.
        if (c >= m_ofCharacter.size())
            return workOut(c);
        unsigned char known = m_ofCharacter[c].load(std::memory_order_relaxed);
        if (!(known & Known)) {
            known = workOut(c) | Known;
            m_ofCharacter[c].store(known, std::memory_order_relaxed);
        }
        return known & ~Known;
    }

    /// The changes of the characters of the ranges given, as PageCharacters.
    unsigned char within(uint8_t ranges) const
    {
        unsigned char changes = 0;
        for (size_t bit = 0; bit < m_ofRange.size(); ++bit)
            if (ranges & (1u << bit))
                changes |= m_ofRange[bit];
        return changes;
    }

private:
    static constexpr unsigned char Known = 0x80;

    unsigned char workOut(char32_t c) const
    {
        if (continuesCharacter(c))
            return Changes | (m_options.ignoreAccents ? Vanishes : 0);
        const utf8proc_property_t *property = utf8proc_get_property(static_cast<utf8proc_int32_t>(c));
        // Compatibility decompositions are no part of the composed form.
        const bool decomposes = property->decomp_seqindex != UINT16_MAX && property->decomp_type == 0;
        if (!decomposes && (!m_options.ignoreCase || property->casefold_seqindex == UINT16_MAX))
            return 0;
        std::u32string folded;
        for (const char32_t composed : TextFolding::composed(toUtf8(std::u32string(1, c))))
            folded += m_folding.foldCharacter(composed);
        unsigned char change = folded != std::u32string(1, c) ? Changes : 0;
        if (std::any_of(folded.begin(), folded.end(), [](char32_t code) { return code < 0x80; }))
            change |= GivesAscii;
        return change;
    }

    FindOptions m_options;
    TextFolding m_folding;
    mutable std::vector<std::atomic<unsigned char>> m_ofCharacter =
        std::vector<std::atomic<unsigned char>>(0x10000);
    std::array<unsigned char, 4> m_ofRange{};
};

const CharacterChanges &changesOfCharacters(FindOptions options)
{
    // One for each set of options a find uses.
    if (options.ignoreCase && options.ignoreAccents) {
        static const CharacterChanges both(options);
        return both;
    }
    if (options.ignoreCase) {
        static const CharacterChanges caseOnly(options);
        return caseOnly;
    }
    if (options.ignoreAccents) {
        static const CharacterChanges accentsOnly(options);
        return accentsOnly;
    }
    static const CharacterChanges none(options);
    return none;
}

bool isAscii(char c)
{
    return static_cast<unsigned char>(c) < 0x80;
}

/// The changes of all the characters beyond ASCII of a text. ASCII changes
/// nothing: only the runs beyond it are decoded.
unsigned char changesWithin(std::string_view utf8, const CharacterChanges &changes)
{
    unsigned char within = 0;
    size_t i = 0;
    while (i < utf8.size()) {
        i = endOfAscii(utf8, i);
        const size_t end = std::find_if(utf8.begin() + i, utf8.end(), isAscii) - utf8.begin();
        forEachCodePoint(utf8.substr(i, end - i), [&](char32_t c) { within |= changes.of(c); });
        i = end;
    }
    return within;
}

/// The runs of characters that the pattern matches only by themselves, folded,
/// longest first: "*", "?", "#" and a "[list]" end a run, an empty "[]" (no
/// character at all) does not. A run beyond ASCII comes with its ASCII runs:
/// a page may hold it only in another form, they tell pages apart still.
std::vector<std::u32string> plainRuns(std::u32string_view pattern, const TextFolding &folding)
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
        } else if (c == U'*' || c == U'?' || c == U'#' || c == U'\uFFFD') {
            endRun(); // U+FFFD also stands for the bytes of malformed UTF-8 in a text
        } else {
            runs.back() += folding.foldCharacter(c);
        }
    }
    if (runs.back().empty())
        runs.pop_back();
    for (size_t r = 0, count = runs.size(); r < count; ++r) {
        const std::u32string run = runs[r];
        if (std::all_of(run.begin(), run.end(), [](char32_t c) { return c < 0x80; }))
            continue;
        for (size_t first = 0, end = 0; first < run.size(); first = end + 1) {
            end = std::find_if(run.begin() + first, run.end(), [](char32_t c) { return c >= 0x80; }) -
                  run.begin();
            if (end > first)
                runs.push_back(run.substr(first, end - first));
        }
    }
    std::stable_sort(runs.begin(), runs.end(),
                     [](const auto &a, const auto &b) { return a.size() > b.size(); });
    return runs;
}

} // namespace

PageTextFilter::PageTextFilter(std::string_view pattern, FindOptions options, std::string pageCount)
    : m_options(options), m_pageCount(std::move(pageCount))
{
    const TextFolding folding(options);
    for (const std::u32string &run : plainRuns(TextFolding::composed(pattern), folding)) {
        Needle needle{toUtf8(run)};
        needle.trigramBits = trigramBitsOf(needle.text);
        const bool ascii = std::all_of(run.begin(), run.end(), [](char32_t c) { return c < 0x80; });
        // Folding may give any ASCII character (the Kelvin sign a "k", a Greek
        // question mark a ";"); which page does so is found by its characters.
        if (!ascii)
            needle.passedBy = Changes;
        else
            needle.passedBy = GivesAscii | (run.size() > 1 ? Vanishes : 0);
        m_needles.push_back(std::move(needle));
        if (m_needles.size() == MaxNeedles)
            break;
    }
}

bool PageTextFilter::mayShow(const IndexedPage &page) const
{
    const CharacterChanges &characterChanges = changesOfCharacters(m_options);
    // What the page's ranges of characters may change bounds what its
    // characters do: only then are they looked at one by one, once.
    const unsigned char mayChange = characterChanges.within(page.characters);
    std::optional<unsigned char> changes;
    // A matching text holds every run; a page lacking one cannot match.
    return std::all_of(m_needles.begin(), m_needles.end(), [&](const Needle &needle) {
        if (hasTrigramBits(page.trigrams, needle.trigramBits) &&
            holdsNeedle(page.texts, needle.text, m_options.ignoreCase))
            return true;
        if (needle.passedBy & mayChange) {
            if (!changes)
                changes = changesWithin(page.texts, characterChanges);
            if (*changes & needle.passedBy)
                return true;
        }
        return expandedTextHolds(page.page, page.texts, needle.text);
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
        if (holdsNeedle(m_expanded, needle, m_options.ignoreCase))
            return true;
        pageTexts.remove_prefix(std::min(end + 1, pageTexts.size()));
    }
    return false;
}

} // namespace quillet
