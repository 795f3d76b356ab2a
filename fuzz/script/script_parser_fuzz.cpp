// The command-line tool's script reader on arbitrary bytes: it ends, and every
// command it accepts comes with one value per argument of its command.

#include "cli/ScriptParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto script =
        quillet::cli::parseScript(std::string_view(reinterpret_cast<const char *>(data), size));
    for (const auto &command : script.commands)
        if (!command.entry || command.args.size() != command.entry->args.size())
            __builtin_trap();
    for (const auto &error : script.errors)
        quillet::cli::formatError("fuzz", error);
    return 0;
}
