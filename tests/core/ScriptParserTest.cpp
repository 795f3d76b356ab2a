#include "cli/ScriptParser.h"

#include <gtest/gtest.h>

using namespace quillet::cli;

namespace {

TEST(ScriptParser, ReportsABadLineAtItsLineAndColumnAndReadsTheLinesAround)
{
    // clang-format off
    const struct {
        const char *script; ///< a good first line, the bad line, a good last line
        int line, column;
        const char *messagePart;
    } rows[] = {
        {"PNP\nC \"Total 10\nPNP", 2, 3, "unclosed quote"},
        {"PNP\nL \"ends in \\\"\nPNP", 2, 3, "unclosed quote"},
        {"PNP\n  L \"a\\qb\"\nPNP", 2, 7, "unknown escape"},
        {"PNP\nL \"a\"b\nPNP", 2, 6, "blank must follow"},
        {"PNP\n   PBoxx 1 2 3 4\nPNP", 2, 4, "unknown command \"PBoxx\""},
        {"PNP\n\"PNP\"\nPNP", 2, 1, "unknown command"},
        {"PNP\nPNL 5 6\nPNP", 2, 7, "too many arguments"},
        {"PNP\nNewCol 20\nPNP", 2, 10, "missing cx"},
        {"PNP\nLCol 1\nPNP", 2, 7, "missing StrToPrint"},
        {"PNP\nPNL five\nPNP", 2, 5, "\"five\" is not a number"},
        {"PNP\nPNL \"5\"\nPNP", 2, 5, "not a number"},
        {"PNP\nPNL inf\nPNP", 2, 5, "not a number"},
        {"PNP\nLCol 21 \"x\"\nPNP", 2, 6, "out of range 1..20"},
        {"PNP\nPNL 1e9\nPNP", 2, 5, "out of range"},
        {"PNP\nPColor 0x1000000\nPNP", 2, 8, "out of range 0..16777215"},
        {"PNP\nPAlign 1.5\nPNP", 2, 8, "not a whole number"},
        {"PNP\nPFix maybe N\nPNP", 2, 6, "not a boolean"},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(row.script);
        const ParsedScript script = parseScript(row.script);
        EXPECT_EQ(script.commands.size(), 2u);
        ASSERT_EQ(script.errors.size(), 1u);
        const ScriptError &error = script.errors.front();
        EXPECT_EQ(std::pair(error.line, error.column), std::pair(row.line, row.column));
        EXPECT_NE(error.message.find(row.messagePart), std::string::npos) << error.message;
    }
}

TEST(ScriptParser, ReadsAGoodScript)
{
    const ParsedScript script = parseScript("# an invoice\r\n"
                                            "init \"Vendas\" S L 0x9\n"
                                            "\n"
                                            "  C \"Say \\\"hi\\\"\\tnow\\\\\" 10 # title\n"
                                            "L Total\n"
                                            "LCol 2 \"#1\" 0 -1 n\n"
                                            "PColor 0xC0C0C0\n"
                                            "PNL -2.5");
    ASSERT_TRUE(script.errors.empty()) << script.errors.front().message;
    ASSERT_EQ(script.commands.size(), 6u);

    const ScriptCommand &init = script.commands[0];
    EXPECT_EQ(init.entry->id, CommandId::Init);
    EXPECT_EQ(init.line, 2);
    EXPECT_EQ(std::get<std::string>(init.args[2]), "L");
    EXPECT_EQ(std::get<std::string>(init.args[3]), "0x9");
    EXPECT_EQ(std::get<bool>(init.args[4]), true); // cSETUP left out: its default
    EXPECT_EQ(init.args.size(), init.entry->args.size());

    const ScriptCommand &title = script.commands[1];
    EXPECT_EQ(std::get<std::string>(title.args[0]), "Say \"hi\"\tnow\\");
    EXPECT_EQ(std::get<double>(title.args[1]), 10);
    EXPECT_EQ(std::get<double>(title.args[2]), -1); // PosX left out: the current position

    EXPECT_EQ(std::get<std::string>(script.commands[2].args[0]), "Total");
    EXPECT_EQ(std::get<std::string>(script.commands[3].args[1]), "#1"); // # inside a string is text
    EXPECT_EQ(std::get<bool>(script.commands[3].args[4]), false);
    EXPECT_EQ(std::get<double>(script.commands[4].args[0]), 0xC0C0C0);
    EXPECT_EQ(std::get<double>(script.commands[5].args[0]), -2.5);
}

TEST(CommandTable, DefaultsParseAndHelpNamesEveryCommand)
{
    const std::string help = commandHelp();
    for (const CommandEntry &entry : commandTable()) {
        EXPECT_NE(help.find("  " + std::string(entry.name)), std::string::npos) << entry.name;
        // A command given only its required arguments takes every default: each must be valid.
        std::string line(entry.name);
        for (std::size_t i = 0; i < entry.requiredCount(); ++i)
            line += " 1"; // valid for every required type
        EXPECT_TRUE(parseScript(line).errors.empty()) << line;
    }
}

} // namespace
