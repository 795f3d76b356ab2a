#pragma once
// Reads a listing script: one command a line, named as the component's
// methods (in any case), its arguments separated by blanks. Arguments are
// quoted strings ("a \"b\"", escapes \" \\ \n \t), bare words, numbers
// (decimal, whole numbers also 0x hexadecimal) and booleans (True/False, S/N,
// Y/N, 1/0). `#` outside a string starts a comment; blank lines are skipped.
// Every line is checked against the command table; a bad line is reported and
// skipped, and reading goes on with the next one.

#include "cli/CommandTable.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quillet::cli {

/// Text and Setting arguments are strings, Number and Integer doubles, Boolean bools.
using ArgValue = std::variant<std::string, double, bool>;

struct ScriptCommand {
    const CommandEntry *entry = nullptr;
    /// One value per argument of the command; left-out arguments hold their defaults.
    std::vector<ArgValue> args;
    int line = 0;
};

struct ScriptError {
    int line = 0;   ///< from 1
    int column = 0; ///< from 1, in bytes
    std::string message;
};

struct ParsedScript {
    std::vector<ScriptCommand> commands;
    std::vector<ScriptError> errors;
};

ParsedScript parseScript(std::string_view text);

/// "file:line:column: message", as compilers write it.
std::string formatError(std::string_view fileName, const ScriptError &error);

} // namespace quillet::cli
