#pragma once
// Every composition command, declared once: its name, its record's opcode,
// its result, what it does and its arguments, each with its type, its
// default (as a script writes it), its range in a script and the record field
// it is kept in. The record's fields (CommandRecord.h), the replay
// (render/PageRenderer.cpp) and the command line's table and runner (cli/)
// follow from it. Header-only and free of Qt, so cli/ reads it too.
//
// A row: X(Name, opcode or NotRecorded, result, "what it does", (arguments)).
// Name is the method's name on Composer and on the component, whose
// parameters take the arguments in this order. Where the Composer stores
// something other than the argument itself, the row says so in a comment.

#include "spool/SpoolRecord.h"

#include <array>
#include <span>
#include <string_view>

namespace quillet::commands {

/// The record field an argument is kept in; valA..valE as SpoolRecord names them.
enum class Field : uint8_t { valA, valB, valC, valD, valE, Text, None };

/// How an argument is typed, and how its record field keeps it.
enum class Kind : uint8_t {
    Length,   ///< millimetres, copied
    Number,   ///< a decimal number, copied
    Int16,    ///< a whole number; replay skips the command if the field does not fit 16 bits
    Int32,    ///< the same in 32 bits (colours)
    Flag,     ///< 1 or 0
    Text,     ///< the record's text, UTF-8
    PenWidth, ///< pixels, as the code of the text's only character (PenWidthCode.h)
    Picture,  ///< a picture file; not recorded
};

enum class Result : uint8_t {
    Nothing,
    RestOfText, ///< the text that did not fit, to pass again at the cursor after PNL
};

constexpr int NotRecorded = -1; ///< no record: PNP starts a page, PNewImg registers a picture

struct Arg {
    std::string_view name;
    Kind kind;
    Field field;
    /// The value of a left-out argument, written as in a script; null when required.
    const char *defaultValue = nullptr;
    double min = -10000; ///< a script's range; lengths within +-10 metres
    double max = 10000;

    constexpr bool required() const { return defaultValue == nullptr; }
};

constexpr Arg length(std::string_view name, Field field, const char *defaultValue = nullptr)
{
    return {name, Kind::Length, field, defaultValue};
}
constexpr Arg text(std::string_view name, const char *defaultValue = nullptr)
{
    return {name, Kind::Text, Field::Text, defaultValue};
}
constexpr Arg flag(std::string_view name, Field field, const char *defaultValue = nullptr)
{
    return {name, Kind::Flag, field, defaultValue, 0, 1};
}
constexpr Arg int16(std::string_view name, Field field, double min, double max,
                    const char *defaultValue = nullptr)
{
    return {name, Kind::Int16, field, defaultValue, min, max};
}
constexpr Arg colour(std::string_view name, Field field)
{
    return {name, Kind::Int32, field, nullptr, 0, 0xFFFFFF};
}
constexpr Arg penWidth = {"Expe", Kind::PenWidth, Field::Text, "0", 0, 255};
constexpr Arg columnNumber = int16("NCol", Field::valA, 1, 20);

template <typename... Args> constexpr std::array<Arg, sizeof...(Args)> argList(Args... args)
{
    return {args...};
}

using enum Field;
using enum Result;

// clang-format off
// Notes on what the Composer stores, where it is not the argument itself:
//   at cursor: -1 when the value equals the cursor's position, else the value;
//   cursor or -1: the cursor's position when left out, -1 when it equals it;
//   -1 missing: -1 when left out or negative.
#define QUILLET_COMMANDS(X) \
    X(PNL, RecNewLine, Nothing, "new line: down one line of the font, or Skip mm", \
      (length("Skip", valA, "0") /* the advance made, a line of the font for 0 */)) \
    X(PNP, NotRecorded, Nothing, "new page, with 10 mm margins and Times New Roman 12 again", ()) \
    X(PMargins, RecMargins, Nothing, "margins from the paper's edges", \
      (length("TMarg", valB), length("LMarg", valA), length("BMarg", valD), length("RMarg", valC))) \
    X(C, RecTextCenter, Nothing, "text centred between PosX and MaxX", \
      (text("StrToPrint") /* markers unresolved */, length("PosY", valB, "-1") /* cursor or -1 */, \
       length("PosX", valA, "-1") /* -1 missing */, length("MaxX", valC, "-1") /* -1 also at the margin */)) \
    X(L, RecTextLeft, Nothing, "text starting at PosX, cut with ... to Wid when Wid > 0", \
      (text("StrToPrint") /* uncut, markers unresolved */, length("PosY", valB, "-1") /* cursor or -1 */, \
       length("PosX", valA, "-1") /* at cursor, -1 missing */, length("Wid", valE, "0"))) \
    X(R, RecTextRight, Nothing, "text ending at PosX, cut with ... to Wid when Wid > 0", \
      (text("StrToPrint") /* uncut, markers unresolved */, length("PosY", valB, "-1") /* cursor or -1 */, \
       length("PosX", valA, "-1") /* at cursor, -1 missing */, length("Wid", valE, "0"))) \
    X(M, RecTextMulti, RestOfText, "justified paragraph, a new line (PNL) before each line after the first", \
      (text("StrToPrint") /* the line drawn, ended by LineMark when it ends the paragraph */, \
       length("PosY", valB, "-1") /* cursor or -1 */, \
       length("PosX", valA, "-1") /* at cursor, -1 missing */, \
       length("MaxX", valC, "-1") /* -1 also at the margin */)) \
    X(NewCol, RecNewCol, Nothing, "adds a column cx mm wide at PosX", \
      (length("PosX", valA), length("cx", valB))) \
    X(ClsCols, RecClsCols, Nothing, "removes every column", ()) \
    X(CCol, RecColCenter, Nothing, "text centred in column NCol", \
      (columnNumber, text("StrToPrint") /* uncut */, length("PosY", valB, "-1") /* cursor or -1 */, \
       flag("TRUNC", valE, "True"))) \
    X(LCol, RecColLeft, Nothing, "text on the left of column NCol", \
      (columnNumber, text("StrToPrint") /* uncut */, length("AddX", valB, "0"), \
       length("PosY", valC, "-1") /* -1 missing */, flag("TRUNC", valE, "True"))) \
    X(RCol, RecColRight, Nothing, "text on the right of column NCol", \
      (columnNumber, text("StrToPrint") /* uncut */, length("SubX", valB, "0"), \
       length("PosY", valC, "-1") /* -1 missing */, flag("TRUNC", valE, "True"))) \
    X(PFont, RecFont, Nothing, "font name, size in points, bold, italic, transparent background", \
      (text("FTName", ""), \
       Arg{"FTSize", Kind::Number, valA, "0", 0, 1000} /* at most 2160, 0 when unusable */, \
       flag("FTBold", valB, "False") /* bold, italic, transparent as the font in force has them */, \
       flag("FTItalic", valC, "False"), flag("FTTrans", valD, "True"))) \
    X(PAlign, RecAlign, Nothing, "text on the line by: 2 bottom, 1 baseline, -1 ascent, -2 top", \
      (int16("PAl", valA, -2, 2))) \
    X(PBox, RecBox, Nothing, "box at (x1, y1), x2 wide and y2 high", \
      (length("y1", valB) /* at cursor */, length("x1", valA) /* at cursor */, length("y2", valD), \
       length("x2", valC), penWidth /* zoomed in the preview, at least 1 */)) \
    X(PCircle, RecCircle, Nothing, "circle of radius Raio around (PosX, PosY)", \
      (length("PosY", valB), length("PosX", valA), length("Raio", valC), penWidth /* as PBox's */)) \
    X(PLine, RecLine, Nothing, "line from (x1, y1) to (x2, y2)", \
      (length("y1", valB), length("x1", valA), length("y2", valD), length("x2", valC), \
       penWidth /* as PBox's */)) \
    X(PColor, RecColor, Nothing, "colour of text and lines, 0xBBGGRR", (colour("FColor", valA))) \
    X(PDraw, RecDraw, Nothing, "line style (0 solid .. 6) and drawing mode (13 copy)", \
      (int16("DStyle", valA, 0, 6, "0"), int16("DMode", valB, 1, 16, "13"))) \
    X(PFill, RecFill, Nothing, "fill colour 0xBBGGRR and style (0 solid, 1 none, 2-7 hatches)", \
      (colour("FColor", valA), int16("FStyle", valB, 0, 7))) \
    X(PFix, RecFix, Nothing, "whether texts leave the cursor in place across (FX) and down (FY)", \
      (flag("FX", valA), flag("FY", valB))) \
    X(PNewImg, NotRecorded, Nothing, "registers a picture file (relative to the script) as the next number", \
      (Arg{"File", Kind::Picture, None})) \
    X(PDrawImg, RecImage, Nothing, "draws picture NImg with its corner at (PosX, PosY)", \
      (int16("NImg", valC, 1, 200), length("PosY", valB), length("PosX", valA)))
// clang-format on

#define QUILLET_UNPARENTHESIZED(...) __VA_ARGS__

/// One type per command, named as the command: Row::Op, Row::Args and so on.
#define QUILLET_COMMAND_ROW(Name, opcode, result, summary, argumentList)                                     \
    struct Name {                                                                                            \
        static constexpr std::string_view name = #Name;                                                      \
        static constexpr int op = opcode;                                                                    \
        static constexpr Result returns = result;                                                            \
        static constexpr std::string_view description = summary;                                             \
        static constexpr auto args = argList(QUILLET_UNPARENTHESIZED argumentList);                          \
    };
QUILLET_COMMANDS(QUILLET_COMMAND_ROW)
#undef QUILLET_COMMAND_ROW

/// The rows as values, for code that walks them at run time.
struct Command {
    std::string_view name;
    int op;
    Result returns;
    std::string_view description;
    std::span<const Arg> args;
};

#define QUILLET_COMMAND_VALUE(Name, ...)                                                                     \
    Command{Name::name, Name::op, Name::returns, Name::description, Name::args},
inline constexpr std::array all = {QUILLET_COMMANDS(QUILLET_COMMAND_VALUE)};
#undef QUILLET_COMMAND_VALUE

} // namespace quillet::commands
