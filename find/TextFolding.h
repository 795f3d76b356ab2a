#pragma once
// How find compares a text with what a user typed, as a person reads them:
// both in composed form (NFC), so a text stored decomposed is found by the
// same letters typed composed; case ignored by full case folding ("ß" is
// "ss"); accents ignored by dropping the combining marks of the decomposed
// form. Each character as written folds to a unit of code points, so a
// wildcard that stands for one character takes what one character folds to.

#include "find/LikePattern.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

struct FindOptions {
    bool ignoreCase = false;
    bool ignoreAccents = false;
    bool operator==(const FindOptions &) const = default;
};

/// A text folded for comparing, kept between texts to reuse its memory.
struct FoldedText {
    std::u32string chars;
    /// As LikeText::units: empty when every code point is a unit of its own.
    std::vector<unsigned char> units;
    size_t longestUnit = 1;
    /// For each code point, the code points of the text as written that it
    /// comes from, [first, end); empty when they are the same (plain ASCII).
    std::vector<std::pair<uint32_t, uint32_t>> origins;
    /// The count of code points of the text as written.
    size_t writtenLength = 0;

    LikeText view() const { return {chars, units, longestUnit}; }
    /// A run of chars as code points of the text as written.
    std::pair<size_t, size_t> written(std::pair<size_t, size_t> run) const;

    std::u32string scratchWritten; ///< the text as written, decoded
    std::u32string scratchComposed;
};

class TextFolding {
public:
    explicit TextFolding(FindOptions options) : m_options(options) {}

    FindOptions options() const { return m_options; }
    /// Folds a UTF-8 text, its malformed bytes read as U+FFFD.
    void fold(std::string_view utf8, FoldedText &into) const;
    /// What one character in composed form folds to: none, one or more code points.
    std::u32string foldCharacter(char32_t c) const;
    /// A UTF-8 text as code points in composed form.
    static std::u32string composed(std::string_view utf8);

private:
    void appendUnit(std::u32string_view unit, size_t first, size_t end, FoldedText &into) const;

    FindOptions m_options;
};

/// Whether c belongs with the character before it: a combining mark, or a
/// Hangul vowel or final consonant, which compose with what comes before.
bool continuesCharacter(char32_t c);
std::string toUtf8(std::u32string_view codes);

/// Calls visit(codePoint) for each character of a UTF-8 text; each byte of a
/// malformed sequence is a U+FFFD.
template <typename Visit> void forEachCodePoint(std::string_view utf8, Visit &&visit)
{
    const auto byte = [&utf8](size_t at) {
        return at < utf8.size() ? static_cast<unsigned char>(utf8[at]) : 0u;
    };
    for (size_t i = 0; i < utf8.size();) {
        const unsigned lead = byte(i);
        const size_t length = lead < 0x80   ? 1
                              : lead < 0xC2 ? 0
                              : lead < 0xE0 ? 2
                              : lead < 0xF0 ? 3
                              : lead < 0xF5 ? 4
                                            : 0;
        char32_t code = length > 1 ? lead & (0x7F >> length) : lead;
        bool valid = length != 0;
        for (size_t k = 1; valid && k < length; ++k) {
            valid = (byte(i + k) & 0xC0) == 0x80;
            code = (code << 6) | (byte(i + k) & 0x3F);
        }
        // Overlong forms, surrogates and code points beyond Unicode.
        valid = valid && !(length == 3 && (code < 0x800 || (code >= 0xD800 && code < 0xE000))) &&
                !(length == 4 && (code < 0x10000 || code > 0x10FFFF));
        visit(valid ? code : U'\uFFFD');
        i += valid ? length : 1;
    }
}

} // namespace quillet
