#include "find/TextFolding.h"

#include <utf8proc.h>

#include <algorithm>
#include <array>

namespace quillet {

namespace {

constexpr utf8proc_option_t Composed = static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE);

bool isAscii(std::string_view utf8)
{
    return std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char32_t asciiFolded(char32_t c, bool ignoreCase)
{
    return ignoreCase && c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c;
}

/// The code points normalised/// The code points normalised with options, into out.
void normalise(std::u32string_view codes, utf8proc_option_t options, std::u32string &out)
{
    const std::string utf8 = toUtf8(codes);
    // A character and its marks fit here; a longer run takes the heap.
    std::array<utf8proc_int32_t, 32> onStack;
    std::vector<utf8proc_int32_t> onHeap;
    utf8proc_int32_t *buffer = onStack.data();
    const auto decompose = [&](utf8proc_ssize_t size) {
        return utf8proc_decompose(reinterpret_cast<const utf8proc_uint8_t *>(utf8.data()),
                                  static_cast<utf8proc_ssize_t>(utf8.size()), buffer, size, options);
    };
    utf8proc_ssize_t length = decompose(onStack.size());
    if (length > static_cast<utf8proc_ssize_t>(onStack.size())) {
        onHeap.resize(static_cast<size_t>(length));
        buffer = onHeap.data();
        length = decompose(length);
    }
    if (length >= 0)
        length = utf8proc_normalize_utf32(buffer, length, options);
    if (length < 0) { // not for valid code points; compared as they are then
        out.assign(codes);
        return;
    }
    out.assign(buffer, buffer + length);
}

} // namespace

bool continuesCharacter(char32_t c)
{
    if (c < 0x300)
        return false;
    const utf8proc_property_t *property = utf8proc_get_property(static_cast<utf8proc_int32_t>(c));
    const auto category = static_cast<utf8proc_category_t>(property->category);
    return property->combining_class != 0 || category == UTF8PROC_CATEGORY_MN ||
           category == UTF8PROC_CATEGORY_MC || category == UTF8PROC_CATEGORY_ME ||
           (c >= 0x1160 && c < 0x1200);
}

std::string toUtf8(std::u32string_view codes)
{
    std::string utf8;
    for (const char32_t c : codes) {
        utf8proc_uint8_t bytes[4];
        const utf8proc_ssize_t length = utf8proc_encode_char(static_cast<utf8proc_int32_t>(c), bytes);
        utf8.append(reinterpret_cast<const char *>(bytes), static_cast<size_t>(length));
    }
    return utf8;
}

std::pair<size_t, size_t> FoldedText::written(std::pair<size_t, size_t> run) const
{
    if (origins.empty() || run.first >= run.second)
        return run;
    return {origins[run.first].first, origins[run.second - 1].second};
}

std::u32string TextFolding::composed(std::string_view utf8)
{
    std::u32string codes, out;
    forEachCodePoint(utf8, [&codes](char32_t c) { codes.push_back(c); });
    normalise(codes, Composed, out);
    return out;
}

std::u32string TextFolding::foldCharacter(char32_t c) const
{
    if (c < 0x80 || (!m_options.ignoreCase && !m_options.ignoreAccents))
        return std::u32string(1, asciiFolded(c, m_options.ignoreCase));
    int options = Composed;
    if (m_options.ignoreCase)
        options |= UTF8PROC_CASEFOLD;
    if (m_options.ignoreAccents)
        options |= UTF8PROC_STRIPMARK;
    std::u32string out;
    normalise(std::u32string_view(&c, 1), static_cast<utf8proc_option_t>(options), out);
    return out;
}

void TextFolding::appendUnit(std::u32string_view unit, size_t first, size_t end, FoldedText &into) const
{
    if (unit.empty())
        return;
    into.longestUnit = std::max(into.longestUnit, unit.size());
    into.units.push_back(static_cast<unsigned char>(std::min<size_t>(unit.size(), 255)));
    into.units.insert(into.units.end(), unit.size() - 1, 0);
    into.chars.append(unit);
    into.origins.insert(into.origins.end(), unit.size(),
                        {static_cast<uint32_t>(first), static_cast<uint32_t>(end)});
}

void TextFolding::fold(std::string_view utf8, FoldedText &into) const
{
    into.chars.clear();
    into.units.clear();
    into.origins.clear();
    into.longestUnit = 1;
    // Plain ASCII, most of a listing, needs no Unicode tables.
    if (isAscii(utf8)) {
        for (const char c : utf8)
            into.chars.push_back(asciiFolded(static_cast<char32_t>(c), m_options.ignoreCase));
        into.writtenLength = utf8.size();
        return;
    }
    std::u32string &written = into.scratchWritten;
    written.clear();
    forEachCodePoint(utf8, [&written](char32_t c) { written.push_back(c); });
    into.writtenLength = written.size();
    // A character and its marks compose on their own: each is folded apart,
    // and the code points it gives come from all of it.
    for (size_t first = 0, end; first < written.size(); first = end) {
        end = first + 1;
        while (end < written.size() && continuesCharacter(written[end]))
            ++end;
        if (end == first + 1 && written[first] < 0x80) {
            const char32_t c = asciiFolded(written[first], m_options.ignoreCase);
            appendUnit(std::u32string_view(&c, 1), first, end, into);
            continue;
        }
        normalise(std::u32string_view(written).substr(first, end - first), Composed, into.scratchComposed);
        for (const char32_t c : into.scratchComposed)
            appendUnit(foldCharacter(c), first, end, into);
    }
    if (into.longestUnit == 1)
        into.units.clear();
}

} // namespace quillet
