#include "cli/CommandTable.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace quillet::cli {

namespace {

using enum ArgType;

constexpr ArgEntry flag(std::string_view name, const char *defaultValue)
{
    return {name, Boolean, defaultValue, 0, 1};
}

constexpr std::array InitArgs = {
    ArgEntry{"LName", Text, ""},
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
    ArgEntry{"NPW", Integer, "0", 0, 32767},
    ArgEntry{"NPH", Integer, "0", 0, 32767},
};

constexpr ArgType scriptType(commands::Kind kind)
{
    switch (kind) {
    case commands::Kind::Length:
    case commands::Kind::Number:
        return Number;
    case commands::Kind::Int16:
    case commands::Kind::Int32:
    case commands::Kind::PenWidth:
        return Integer;
    case commands::Kind::Flag:
        return Boolean;
    default:
        return Text; // a text, or a picture's file name
    }
}

template <typename Row>
constexpr auto ScriptArgs = [] {
    std::array<ArgEntry, Row::args.size()> entries{};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const commands::Arg &arg = Row::args[i];
        entries[i] = {arg.name, scriptType(arg.kind), arg.defaultValue, arg.min, arg.max};
    }
    return entries;
}();

#define QUILLET_SCRIPT_COMMAND(Name, ...)                                                                    \
    CommandEntry{CommandId::Name, commands::Name::name, ScriptArgs<commands::Name>,                          \
                 commands::Name::description},
constexpr std::array Commands = {
    CommandEntry{CommandId::Init, "Init", InitArgs,
                 "opens the listing (the command line chooses preview or print)"},
    QUILLET_COMMANDS(QUILLET_SCRIPT_COMMAND)};
#undef QUILLET_SCRIPT_COMMAND

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
