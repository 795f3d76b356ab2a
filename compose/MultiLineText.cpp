#include "compose/Composer.h"
#include "compose/Lengths.h"
#include "render/Surface.h"
#include "render/Utf8.h"

#include <algorithm>

namespace quillet {

namespace {

/// A line this narrow or narrower takes no text.
constexpr float MinLineWidthMm = 10.0f;
/// Words are fitted to the line width less this.
constexpr float LineSlackMm = 2.0f;

std::string_view withoutLeadingSpaces(std::string_view text)
{
    const size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

struct Wrapped {
    std::string line;
    std::string rest;
    bool atLineBreak = false;
};

/// Splits a line break off the line: the text after it goes before the rest.
void splitAtLineBreak(Wrapped &w)
{
    for (std::string_view lineBreak : {"\r\n", "\n", "\r"}) {
        const size_t at = w.line.find(lineBreak);
        if (at == std::string::npos)
            continue;
        std::string after = w.line.substr(at + lineBreak.size());
        if (!w.rest.empty())
            after += ' ' + w.rest;
        w.rest = std::move(after);
        w.line.resize(at);
        w.atLineBreak = true;
        return;
    }
}

} // namespace

std::string Composer::M(std::string_view StrToPrint, float PosY, float PosX, float MaxX)
{
    Surface *surf = surface();
    if (!surf)
        return {};
    PosY = positionOrMissing(PosY);
    PosX = positionOrMissing(PosX);
    MaxX = positionOrMissing(MaxX);
    ListingState &st = m_state;

    std::string_view s = StrToPrint;
    bool last = !s.empty() && s.back() == LineMark;
    if (last)
        s.remove_suffix(1);

    const float recordedX = horizontalValue(PosX);
    placeLeft(PosX, WX(s));
    const float recordedY = placeVertically(PosY, WY(s));
    const float lineWidth = MaxX < 0 ? st.UseW : MaxX;
    const bool spoolOpen = m_session.spool != nullptr;

    Wrapped w{std::string(s), {}};
    if (recording() || (!spoolOpen && !last)) {
        const std::vector<size_t> offsets = characterOffsets(s);
        const size_t length = offsets.size() - 1;
        const float room = lineWidth - LineSlackMm;
        const std::vector<float> widths = surf->prefixWidths(s, room);
        const auto overflow =
            std::find_if(widths.begin(), widths.end(), [room](float width) { return !(width <= room); });
        // At least one character per line, so a host calling until "" always ends.
        const size_t fitting =
            overflow == widths.end() ? length : std::max<size_t>(overflow - widths.begin(), 1);
        if (!(lineWidth > MinLineWidthMm) || (length == 1 && fitting == 1 && overflow != widths.end())) {
            w = {};
        } else if (fitting < length) {
            size_t space = fitting + 1;
            while (space >= 1 && s[offsets[space - 1]] != ' ')
                --space;
            if (space >= 1) {
                w.line = std::string(s.substr(0, offsets[space - 1]));
                w.rest = std::string(withoutLeadingSpaces(s.substr(offsets[space - 1] + 1)));
            } else {
                w.line = std::string(s.substr(0, offsets[fitting]));
                w.rest = std::string(s.substr(offsets[fitting]));
            }
            splitAtLineBreak(w);
        } else {
            splitAtLineBreak(w);
        }
        last = w.rest.empty() || w.atLineBreak;
        if (last)
            w.line += LineMark;
        else if (spoolOpen)
            w.rest += LineMark;
        const float recordedMax = MaxX < 0 || MaxX == st.UseW ? -1.0f : MaxX;
        record<commands::M>(w.line, recordedY, recordedX, recordedMax);
        if (last)
            w.line.pop_back();
    }

    if (last)
        EmitText(w.line);
    else
        emitSpread(w.line, lineWidth);
    return w.rest;
}

void Composer::emitSpread(std::string_view line, float widthMm)
{
    Surface *surf = surface();
    line = line.substr(0, line.find_last_not_of(' ') + 1);
    std::string letters;
    std::copy_if(line.begin(), line.end(), std::back_inserter(letters), [](char c) { return c != ' '; });
    const auto spaces = std::count(line.begin(), line.end(), ' ');
    const auto leading = static_cast<long>(line.size() - withoutLeadingSpaces(line).size());
    const auto gaps = spaces - leading;
    const float gap = gaps > 0 ? (widthMm - WX(letters)) / static_cast<float>(gaps) : 0.0f;

    float x = surf->currentX();
    const float y = surf->currentY();
    while (!line.empty()) {
        const size_t space = line.find(' ');
        if (space == std::string_view::npos) {
            EmitText(line);
            return;
        }
        if (space == 0) {
            line.remove_prefix(1);
            EmitText(" ");
            x += WX(" ");
        } else {
            const std::string_view word = line.substr(0, space);
            line = withoutLeadingSpaces(line.substr(space + 1));
            EmitText(word);
            x += WX(word) + gap;
        }
        // Every word stands on the same line, whatever the alignment did.
        surf->setCurrentX(x);
        surf->setCurrentY(y);
    }
}

} // namespace quillet
