#include "cli/CommandTable.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace quillet::cli {

namespace {

using enum ArgType;

constexpr double MaxColour = 0xFFFFFF;

// Lengths are millimetres within +-10 metres, far beyond any paper.
constexpr ArgEntry length(std::string_view name, const char *defaultValue = nullptr)
{
    return {name, Number, defaultValue};
}
constexpr ArgEntry text(std::string_view name, const char *defaultValue = nullptr)
{
    return {name, Text, defaultValue};
}
constexpr ArgEntry flag(std::string_view name, const char *defaultValue = nullptr)
{
    return {name, Boolean, defaultValue, 0, 1};
}
constexpr ArgEntry integer(std::string_view name, double min, double max, const char *defaultValue = nullptr)
{
    return {name, Integer, defaultValue, min, max};
}

constexpr ArgEntry columnNumber = integer("NCol", 1, 20);
constexpr ArgEntry penWidth = integer("Expe", 0, 255, "0");
constexpr ArgEntry colour = integer("FColor", 0, MaxColour);

constexpr std::array InitArgs = {
    text("LName", ""),
    ArgEntry{"PrtScreen", Setting, "S"},
    ArgEntry{"POri", Setting, "P"},
    ArgEntry{"PPaper", Setting, "A4"},
    flag("cSETUP", "True"),
    flag("cSELPAG", "True"),
    flag("cPRINT", "True"),
    flag("cFIND", "True"),
    flag("ASize", "True"),
    flag("cCANCEL", "True"),
    flag("CanShow", "False"),
    flag("NoDialog", "False"),
    integer("NPW", 0, 32767, "0"),
    integer("NPH", 0, 32767, "0"),
};
constexpr std::array PNLArgs = {length("Skip", "0")};
constexpr std::array MarginArgs = {length("TMarg"), length("LMarg"), length("BMarg"), length("RMarg")};
constexpr std::array CenterArgs = {text("StrToPrint"), length("PosY", "-1"), length("PosX", "-1"),
                                   length("MaxX", "-1")};
constexpr std::array SideArgs = {text("StrToPrint"), length("PosY", "-1"), length("PosX", "-1"),
                                 length("Wid", "0")};
constexpr std::array NewColArgs = {length("PosX"), length("cx")};
constexpr std::array CColArgs = {columnNumber, text("StrToPrint"), length("PosY", "-1"),
                                 flag("TRUNC", "True")};
constexpr std::array LColArgs = {columnNumber, text("StrToPrint"), length("AddX", "0"), length("PosY", "-1"),
                                 flag("TRUNC", "True")};
constexpr std::array RColArgs = {columnNumber, text("StrToPrint"), length("SubX", "0"), length("PosY", "-1"),
                                 flag("TRUNC", "True")};
constexpr std::array FontArgs = {text("FTName", ""), ArgEntry{"FTSize", Number, "0", 0, 1000},
                                 flag("FTBold", "False"), flag("FTItalic", "False"), flag("FTTrans", "True")};
constexpr std::array AlignArgs = {integer("PAl", -2, 2)};
constexpr std::array BoxArgs = {length("y1"), length("x1"), length("y2"), length("x2"), penWidth};
constexpr std::array CircleArgs = {length("PosY"), length("PosX"), length("Raio"), penWidth};
constexpr std::array ColorArgs = {colour};
constexpr std::array DrawArgs = {integer("DStyle", 0, 6, "0"), integer("DMode", 1, 16, "13")};
constexpr std::array FillArgs = {colour, integer("FStyle", 0, 7)};
constexpr std::array FixArgs = {flag("FX"), flag("FY")};
constexpr std::array NewImgArgs = {text("File")};
constexpr std::array DrawImgArgs = {integer("NImg", 1, 200), length("PosY"), length("PosX")};

constexpr std::array<CommandEntry, 24> Commands = {{
    {CommandId::Init, "Init", InitArgs, "opens the listing (the command line chooses preview or print)"},
    {CommandId::PNL, "PNL", PNLArgs, "new line: down one line of the font, or Skip mm"},
    {CommandId::PNP, "PNP", {}, "new page, with 10 mm margins and Times New Roman 12 again"},
    {CommandId::PMargins, "PMargins", MarginArgs, "margins from the paper's edges"},
    {CommandId::C, "C", CenterArgs, "text centred between PosX and MaxX"},
    {CommandId::L, "L", SideArgs, "text starting at PosX, cut with ... to Wid when Wid > 0"},
    {CommandId::R, "R", SideArgs, "text ending at PosX, cut with ... to Wid when Wid > 0"},
    {CommandId::M, "M", CenterArgs, "justified paragraph, a new line (PNL) before each line after the first"},
    {CommandId::NewCol, "NewCol", NewColArgs, "adds a column cx mm wide at PosX"},
    {CommandId::ClsCols, "ClsCols", {}, "removes every column"},
    {CommandId::CCol, "CCol", CColArgs, "text centred in column NCol"},
    {CommandId::LCol, "LCol", LColArgs, "text on the left of column NCol"},
    {CommandId::RCol, "RCol", RColArgs, "text on the right of column NCol"},
    {CommandId::PFont, "PFont", FontArgs, "font name, size in points, bold, italic, transparent background"},
    {CommandId::PAlign, "PAlign", AlignArgs, "text on the line by: 2 bottom, 1 baseline, -1 ascent, -2 top"},
    {CommandId::PBox, "PBox", BoxArgs, "box at (x1, y1), x2 wide and y2 high"},
    {CommandId::PCircle, "PCircle", CircleArgs, "circle of radius Raio around (PosX, PosY)"},
    {CommandId::PLine, "PLine", BoxArgs, "line from (x1, y1) to (x2, y2)"},
    {CommandId::PColor, "PColor", ColorArgs, "colour of text and lines, 0xBBGGRR"},
    {CommandId::PDraw, "PDraw", DrawArgs, "line style (0 solid .. 6) and drawing mode (13 copy)"},
    {CommandId::PFill, "PFill", FillArgs, "fill colour 0xBBGGRR and style (0 solid, 1 none, 2-7 hatches)"},
    {CommandId::PFix, "PFix", FixArgs, "whether texts leave the cursor in place across (FX) and down (FY)"},
    {CommandId::PNewImg, "PNewImg", NewImgArgs,
     "registers a picture file (relative to the script) as the next number"},
    {CommandId::PDrawImg, "PDrawImg", DrawImgArgs, "draws picture NImg with its corner at (PosX, PosY)"},
}};

bool sameNameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

} // namespace

std::size_t CommandEntry::requiredCount() const
{
    return std::ranges::count_if(args, &ArgEntry::required);
}

std::span<const CommandEntry> commandTable()
{
    return Commands;
}

const CommandEntry *findCommand(std::string_view name)
{
    const auto found = std::ranges::find_if(
        Commands, [name](const CommandEntry &entry) { return sameNameIgnoringCase(entry.name, name); });
    return found == Commands.end() ? nullptr : &*found;
}

std::string commandHelp()
{
    std::string help;
    for (const CommandEntry &entry : Commands) {
        std::string line = "  " + std::string(entry.name);
        for (const ArgEntry &arg : entry.args) {
            line += ' ';
            if (arg.required())
                line += arg.name;
            else
                line +=
                    '[' + std::string(arg.name) + '=' + (*arg.defaultValue ? arg.defaultValue : "\"\"") + ']';
        }
        help += line + "\n      " + std::string(entry.summary) + '\n';
    }
    return help;
}

} // namespace quillet::cli
