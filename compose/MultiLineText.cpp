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

/// Where one line of a text ends. The rest handed back is the line's text
/// after its line break, if any, then (after a space when both are there)
/// the text from restFrom on.
struct Cut {
    std::string_view line;
    std::string_view afterBreak;
    bool atLineBreak = false;
    size_t restFrom = 0;
};

/// Splits a line break off the line: the text after it goes before the rest.
void splitAtLineBreak(Cut &cut)
{
    for (std::string_view lineBreak : {"\r\n", "\n", "\r"}) {
        const size_t at = cut.line.find(lineBreak);
        if (at == std::string_view::npos)
            continue;
        cut.afterBreak = cut.line.substr(at + lineBreak.size());
        cut.line = cut.line.substr(0, at);
        cut.atLineBreak = true;
        return;
    }
}

/// The whole words of s that fit in roomMm on surface, or as much of a word
/// longer than that; nothing of a single character that does not fit.
Cut cutLine(std::string_view s, float roomMm, const Surface &surface)
{
    const std::vector<float> widths = surface.prefixWidths(s, roomMm);
    const auto overflow =
        std::find_if(widths.begin(), widths.end(), [roomMm](float width) { return !(width <= roomMm); });
    if (overflow == widths.end()) {
        Cut cut{s, {}, false, s.size()};
        splitAtLineBreak(cut);
        return cut;
    }
    const auto fitted = static_cast<size_t>(overflow - widths.begin());
    if (fitted == 0 && characterLength(s, 0) == s.size())
        return Cut{{}, {}, false, s.size()};
    // At least one character per line, so a host calling until "" always ends.
    const size_t fitting = std::max<size_t>(fitted, 1);
    // Only the characters up to the first that does not fit are looked at.
    const std::vector<size_t> offsets = characterOffsets(s, fitting + 1);
    size_t space = fitting + 1;
    while (space >= 1 && s[offsets[space - 1]] != ' ')
        --space;
    Cut cut;
    if (space >= 1) {
        cut.line = s.substr(0, offsets[space - 1]);
        cut.restFrom = s.size() - withoutLeadingSpaces(s.substr(offsets[space - 1] + 1)).size();
    } else {
        cut.line = s.substr(0, offsets[fitting]);
        cut.restFrom = offsets[fitting];
    }
    splitAtLineBreak(cut);
    return cut;
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

    ParagraphRest &known = m_session.paragraphRest;
    const std::optional<int64_t> units = known.widthUnits(s, *surf);
    const float recordedX = horizontalValue(PosX);
    placeLeft(PosX, units ? surf->widthMmOfUnits(*units) : WX(s));
    const float recordedY = placeVertically(PosY, WY(s));
    const float lineWidth = MaxX < 0 ? st.UseW : MaxX;
    const bool spoolOpen = m_session.spool != nullptr;

    if (!recording() && (spoolOpen || last)) {
        known.forget();
        if (last)
            EmitText(s);
        else
            emitSpread(s, lineWidth);
        return {};
    }

    // A line this narrow takes nothing and the text is lost.
    const Cut cut = lineWidth > MinLineWidthMm ? cutLine(s, lineWidth - LineSlackMm, *surf)
                                               : Cut{{}, {}, false, s.size()};
    const std::string_view tail = s.substr(cut.restFrom);
    const std::string_view separator = cut.atLineBreak && !tail.empty() ? " " : "";
    std::string rest;
    rest.reserve(cut.afterBreak.size() + separator.size() + tail.size() + 1);
    (rest += cut.afterBreak) += separator;
    const size_t headSize = rest.size();
    rest += tail;
    last = rest.empty() || cut.atLineBreak;

    std::string line(cut.line);
    if (last)
        line += LineMark;
    const float recordedMax = MaxX < 0 || MaxX == st.UseW ? -1.0f : MaxX;
    record<commands::M>(line, recordedY, recordedX, recordedMax);
    if (last)
        line.pop_back();

    // The rest's width: the text's, less the part drawn, plus what a line break moved before it.
    const std::string_view head = std::string_view(rest).substr(0, headSize);
    const std::optional<int64_t> drawnUnits =
        units && !rest.empty() ? surf->widthUnits(s.substr(0, cut.restFrom)) : std::nullopt;
    const std::optional<int64_t> headUnits = drawnUnits ? surf->widthUnits(head) : std::nullopt;
    if (headUnits)
        known.remember(s, cut.restFrom, head, *units - *drawnUnits + *headUnits);
    else
        known.forget();
    if (!last && spoolOpen)
        rest += LineMark;

    if (last)
        EmitText(line);
    else
        emitSpread(line, lineWidth);
    return rest;
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
