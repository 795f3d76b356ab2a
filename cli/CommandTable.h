#pragma once
// The commands of a listing script: Init, and the composition commands with
// their arguments' types, defaults and ranges as compose/Commands.h declares
// them. The parser checks scripts against it, the runner calls the component
// from it and `quillet --help` prints it.

#include "compose/Commands.h"

#include <span>
#include <string>
#include <string_view>

namespace quillet::cli {

#define QUILLET_COMMAND_ID(Name, ...) Name,
/// Init, then the composition commands as compose/Commands.h lists them.
enum class CommandId { Init, QUILLET_COMMANDS(QUILLET_COMMAND_ID) };
#undef QUILLET_COMMAND_ID

enum class ArgType {
    Text,    ///< a quoted string, or a bare word
    Number,  ///< a decimal number
    Integer, ///< a whole number, decimal or 0x hexadecimal
    Boolean, ///< True/False, S/N, Y/N, 1/0
    Setting, ///< a bare word or a whole number, as Init's PrtScreen, POri, PPaper take
};

struct ArgEntry {
    std::string_view name;
    ArgType type;
    /// The value of a left-out argument, written as in a script; null when the argument is required.
    const char *defaultValue = nullptr;
    double min = -10000;
    double max = 10000;

    bool required() const { return defaultValue == nullptr; }
};

struct CommandEntry {
    CommandId id;
    std::string_view name;
    std::span<const ArgEntry> args;
    std::string_view summary;

    std::size_t requiredCount() const;
};

/// Every command, in the order of the help text.
std::span<const CommandEntry> commandTable();
/// The command of that name, in any case; null when there is none.
const CommandEntry *findCommand(std::string_view name);
/// One line per command with its arguments ([optional=default]) and what it does.
std::string commandHelp();

} // namespace quillet::cli
