#pragma once
// Every composition command, declared once: name, opcode, result, what it does
// and its arguments, in the order of its methods' parameters on Composer and on
// the component. The records, the replay and the command line follow from it;
// free of Qt, so cli/ reads it too. Where a record keeps what the Composer made
// of an argument (-1 for the cursor, the font in force), its record<> call says so.

#include "spool/SpoolRecord.h"

#include <array>
#include <string_view>

namespace quillet::commands {

/// The record field an argument is kept in.
enum class Field : uint8_t { valA, valB, valC, valD, valE, Text, None };

enum class Kind : uint8_t {
    Length,   ///< millimetres
    Number,   ///< a decimal number
    Int16,    ///< a whole number; replay skips the command if the field does not fit 16 bits
    Int32,    ///< the same in 32 bits (colours)
    Flag,     ///< 1 or 0
    Text,     ///< UTF-8
    PenWidth, ///< pixels, kept in the text (PenWidthCode.h)
    Picture,  ///< a picture file; not recorded
    Part,     ///< UTF-8, one of several texts packed into the record's text (PackedText.h)
};

enum class Result : uint8_t {
    Nothing,
    RestOfText, ///< the text that did not fit, to pass again at the cursor after PNL
    Status,     ///< 0 when done, else a documented code saying why nothing was drawn
};

constexpr int NotRecorded = -1; ///< PNP starts a page, PNewImg registers a picture

struct Arg {
    std::string_view name;
    Kind kind;
    Field field;
    const char *defaultValue = nullptr; ///< as a script writes it; null when required
    double min = -10000;                ///< a script's range; lengths within +-10 metres
    double max = 10000;
    uint8_t part = 0; ///< a Part's place in the packed text, whatever its place among the arguments
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
constexpr Arg part(std::string_view name, uint8_t place, const char *defaultValue = nullptr)
{
    return {name, Kind::Part, Field::Text, defaultValue, -10000, 10000, place};
}
constexpr Arg colour = {"FColor", Kind::Int32, Field::valA, nullptr, 0, 0xFFFFFF};
constexpr Arg penWidth = {"Expe", Kind::PenWidth, Field::Text, "0", 0, 255};
constexpr Arg columnNumber = int16("NCol", Field::valA, 1, 20);
constexpr Arg strToPrint = text("StrToPrint");
constexpr Arg truncated = flag("TRUNC", Field::valE, "True");

template <typename... Args> constexpr std::array<Arg, sizeof...(Args)> argList(Args... args)
{
    return {args...};
}

using enum Field;
using enum Result;

// clang-format off
#define QUILLET_COMMANDS(X) \
    X(PNL, RecNewLine, Nothing, "new line: down one line of the font, or Skip mm", \
      (length("Skip", valA, "0"))) \
    X(PNP, NotRecorded, Nothing, "new page, with 10 mm margins and Times New Roman 12 again", ()) \
    X(PMargins, RecMargins, Nothing, "margins from the paper's edges", \
      (length("TMarg", valB), length("LMarg", valA), length("BMarg", valD), length("RMarg", valC))) \
    X(C, RecTextCenter, Nothing, "text centred between PosX and MaxX", \
      (strToPrint, length("PosY", valB, "-1"), length("PosX", valA, "-1"), length("MaxX", valC, "-1"))) \
    X(L, RecTextLeft, Nothing, "text starting at PosX, cut with ... to Wid when Wid > 0", \
      (strToPrint, length("PosY", valB, "-1"), length("PosX", valA, "-1"), length("Wid", valE, "0"))) \
    X(R, RecTextRight, Nothing, "text ending at PosX, cut with ... to Wid when Wid > 0", \
      (strToPrint, length("PosY", valB, "-1"), length("PosX", valA, "-1"), length("Wid", valE, "0"))) \
    X(M, RecTextMulti, RestOfText, "justified paragraph, a new line (PNL) before each line after the first", \
      (strToPrint, length("PosY", valB, "-1"), length("PosX", valA, "-1"), length("MaxX", valC, "-1"))) \
    X(NewCol, RecNewCol, Nothing, "adds a column cx mm wide at PosX", \
      (length("PosX", valA), length("cx", valB))) \
    X(ClsCols, RecClsCols, Nothing, "removes every column", ()) \
    X(CCol, RecColCenter, Nothing, "text centred in column NCol", \
      (columnNumber, strToPrint, length("PosY", valB, "-1"), truncated)) \
    X(LCol, RecColLeft, Nothing, "text on the left of column NCol", \
      (columnNumber, strToPrint, length("AddX", valB, "0"), length("PosY", valC, "-1"), truncated)) \
    X(RCol, RecColRight, Nothing, "text on the right of column NCol", \
      (columnNumber, strToPrint, length("SubX", valB, "0"), length("PosY", valC, "-1"), truncated)) \
    X(PFont, RecFont, Nothing, "font name, size in points, bold, italic, transparent background", \
      (text("FTName", ""), Arg{"FTSize", Kind::Number, valA, "0", 0, 1000}, flag("FTBold", valB, "False"), \
       flag("FTItalic", valC, "False"), flag("FTTrans", valD, "True"))) \
    X(PAlign, RecAlign, Nothing, "text on the line by: 2 bottom, 1 baseline, -1 ascent, -2 top", \
      (int16("PAl", valA, -2, 2))) \
    X(PBox, RecBox, Nothing, "box at (x1, y1), x2 wide and y2 high", \
      (length("y1", valB), length("x1", valA), length("y2", valD), length("x2", valC), penWidth)) \
    X(PCircle, RecCircle, Nothing, "circle of radius Raio around (PosX, PosY)", \
      (length("PosY", valB), length("PosX", valA), length("Raio", valC), penWidth)) \
    X(PLine, RecLine, Nothing, "line from (x1, y1) to (x2, y2)", \
      (length("y1", valB), length("x1", valA), length("y2", valD), length("x2", valC), penWidth)) \
    X(PColor, RecColor, Nothing, "colour of text and lines, 0xBBGGRR", (colour)) \
    X(PDraw, RecDraw, Nothing, "line style (0 solid .. 6) and drawing mode (13 copy)", \
      (int16("DStyle", valA, 0, 6, "0"), int16("DMode", valB, 1, 16, "13"))) \
    X(PFill, RecFill, Nothing, "fill colour 0xBBGGRR and style (0 solid, 1 none, 2-7 hatches)", \
      (colour, int16("FStyle", valB, 0, 7))) \
    X(PFix, RecFix, Nothing, "whether texts leave the cursor in place across (FX) and down (FY)", \
      (flag("FX", valA), flag("FY", valB))) \
    X(PNewImg, NotRecorded, Nothing, "registers a picture file (relative to the script) as the next number", \
      (Arg{"File", Kind::Picture, None})) \
    X(PDrawImg, RecImage, Nothing, "draws picture NImg with its corner at (PosX, PosY)", \
      (int16("NImg", valC, 1, 200), length("PosY", valB), length("PosX", valA))) \
    X(PBarcode, RecBarcode, Status, "barcode or QR code of Kind (QR, CODE128, EAN13...), Height high, Width 0 natural", \
      (part("Kind", 0), part("Data", 1), length("PosY", valB), length("PosX", valA), \
       length("Height", valD), length("Width", valC, "0"), part("Options", 2, "")))
// clang-format on

#define QUILLET_UNPARENTHESIZED(...) __VA_ARGS__

/// One type per command, named as the command.
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

/// Whether the records of opcode op show a text on the page, the one find
/// looks through: those of the commands that take a StrToPrint.
constexpr bool showsText(int op)
{
    const auto takesText = [](const auto &args) {
        for (const Arg &arg : args)
            if (arg.name == strToPrint.name)
                return true;
        return false;
    };
#define QUILLET_SHOWS_TEXT(Name, ...) (Name::op == op && takesText(Name::args)) ||
    return QUILLET_COMMANDS(QUILLET_SHOWS_TEXT) false;
#undef QUILLET_SHOWS_TEXT
}

} // namespace quillet::commands
