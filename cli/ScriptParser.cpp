#include "cli/ScriptParser.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>

namespace quillet::cli {

namespace {

struct Token {
    std::string text;
    int column = 0;
    bool quoted = false;
};

struct LineTokens {
    std::vector<Token> tokens;
    std::optional<ScriptError> error;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

std::optional<char> unescaped(char c)
{
    switch (c) {
    case '"':
        return '"';
    case '\\':
        return '\\';
    case 'n':
        return '\n';
    case 't':
        return '\t';
    default:
        return std::nullopt;
    }
}

LineTokens tokenize(std::string_view line, int lineNumber)
{
    LineTokens result;
    const auto fail = [&](std::size_t pos, std::string message) {
        result.error = ScriptError{lineNumber, static_cast<int>(pos) + 1, std::move(message)};
        return result;
    };
    std::size_t pos = 0;
    while (pos < line.size()) {
        if (isBlank(line[pos])) {
            ++pos;
        } else if (line[pos] == '#') {
            break;
        } else if (line[pos] == '"') {
            const std::size_t start = pos++;
            std::string text;
            bool closed = false;
            while (pos < line.size() && !closed) {
                const char c = line[pos++];
                if (c == '"') {
                    closed = true;
                } else if (c != '\\') {
                    text += c;
                } else if (pos < line.size()) {
                    const std::optional<char> escaped = unescaped(line[pos]);
                    if (!escaped)
                        return fail(pos - 1, std::string("unknown escape \\") + line[pos] +
                                                 " (use \\\" \\\\ \\n or \\t)");
                    text += *escaped;
                    ++pos;
                }
            }
            if (!closed)
                return fail(start, "unclosed quote: the string has no closing \"");
            if (pos < line.size() && !isBlank(line[pos]) && line[pos] != '#')
                return fail(pos, "a blank must follow the closing quote");
            result.tokens.push_back({std::move(text), static_cast<int>(start) + 1, true});
        } else {
            const std::size_t start = pos;
            while (pos < line.size() && !isBlank(line[pos])) {
                if (line[pos] == '"')
                    return fail(pos, "a quote inside a word: put a blank before the string");
                ++pos;
            }
            result.tokens.push_back(
                {std::string(line.substr(start, pos - start)), static_cast<int>(start) + 1, false});
        }
    }
    return result;
}

std::string numberText(double value)
{
    std::array<char, 32> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return ec == std::errc() ? std::string(buffer.data(), end) : std::string();
}

std::string lowered(std::string_view text)
{
    std::string result(text);
    std::ranges::transform(result, result.begin(), [](unsigned char c) { return std::tolower(c); });
    return result;
}

std::optional<double> toNumber(std::string_view text, bool whole)
{
    if (text.starts_with('+'))
        text.remove_prefix(1);
    const bool negative = text.starts_with('-');
    const std::string_view digits = text.substr(negative ? 1 : 0);
    double value = 0;
    if (whole && (digits.starts_with("0x") || digits.starts_with("0X"))) {
        long long hex = 0;
        const auto [end, ec] = std::from_chars(digits.data() + 2, digits.data() + digits.size(), hex, 16);
        if (ec != std::errc() || end != digits.data() + digits.size() || digits.size() == 2)
            return std::nullopt;
        value = negative ? -double(hex) : double(hex);
    } else {
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc() || end != text.data() + text.size())
            return std::nullopt;
    }
    if (!std::isfinite(value) || (whole && value != std::trunc(value)))
        return std::nullopt;
    return value;
}

std::optional<bool> toBoolean(std::string_view text)
{
    static constexpr std::array<std::string_view, 5> Yes = {"true", "s", "y", "1", "-1"};
    static constexpr std::array<std::string_view, 4> No = {"false", "n", "0", "-0"};
    const std::string word = lowered(text);
    if (std::ranges::find(Yes, word) != Yes.end())
        return true;
    if (std::ranges::find(No, word) != No.end())
        return false;
    return std::nullopt;
}

struct Converted {
    ArgValue value;
    std::string error; ///< empty when the value is good
};

Converted convert(const ArgEntry &arg, std::string_view text, bool quoted)
{
    switch (arg.type) {
    case ArgType::Text:
    case ArgType::Setting:
        return {std::string(text), {}};
    case ArgType::Boolean:
        if (const std::optional<bool> value = toBoolean(text); value && !quoted)
            return {*value, {}};
        return {false, std::string(arg.name) + ": \"" + std::string(text) +
                           "\" is not a boolean (True/False, S/N, Y/N, 1/0)"};
    case ArgType::Number:
    case ArgType::Integer:
        break;
    }
    const bool whole = arg.type == ArgType::Integer;
    const std::optional<double> number = quoted ? std::nullopt : toNumber(text, whole);
    if (!number)
        return {0.0, std::string(arg.name) + ": \"" + std::string(text) + "\" is not a " +
                         (whole ? "whole number" : "number")};
    if (*number < arg.min || *number > arg.max)
        return {0.0, std::string(arg.name) + ": " + std::string(text) + " is out of range " +
                         numberText(arg.min) + ".." + numberText(arg.max)};
    return {*number, {}};
}

/// The command on one line, or the reason it has none; nothing for a blank or comment line.
std::optional<ScriptError> parseLine(std::string_view line, int lineNumber,
                                     std::vector<ScriptCommand> &commands)
{
    LineTokens lexed = tokenize(line, lineNumber);
    if (lexed.error)
        return lexed.error;
    const std::vector<Token> &tokens = lexed.tokens;
    if (tokens.empty())
        return std::nullopt;
    const auto error = [lineNumber](int column, std::string message) {
        return ScriptError{lineNumber, column, std::move(message)};
    };
    const Token &name = tokens.front();
    const CommandEntry *entry = name.quoted ? nullptr : findCommand(name.text);
    if (!entry)
        return error(name.column, "unknown command \"" + name.text + "\"");

    const std::size_t given = tokens.size() - 1;
    if (given > entry->args.size())
        return error(tokens[entry->args.size() + 1].column,
                     "too many arguments: " + std::string(entry->name) + " takes at most " +
                         std::to_string(entry->args.size()));
    if (given < entry->requiredCount()) {
        const Token &last = tokens.back();
        const int afterLast = last.column + static_cast<int>(last.text.size()) + (last.quoted ? 2 : 0);
        return error(afterLast, "too few arguments: " + std::string(entry->name) + " needs at least " +
                                    std::to_string(entry->requiredCount()) + ", missing " +
                                    std::string(entry->args[given].name));
    }

    ScriptCommand command{entry, {}, lineNumber};
    for (std::size_t i = 0; i < entry->args.size(); ++i) {
        const ArgEntry &arg = entry->args[i];
        const bool givenHere = i < given;
        Converted converted = givenHere ? convert(arg, tokens[i + 1].text, tokens[i + 1].quoted)
                                        : convert(arg, arg.defaultValue, false);
        if (!converted.error.empty())
            return error(givenHere ? tokens[i + 1].column : name.column, std::move(converted.error));
        command.args.push_back(std::move(converted.value));
    }
    commands.push_back(std::move(command));
    return std::nullopt;
}

} // namespace

ParsedScript parseScript(std::string_view text)
{
    ParsedScript script;
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        ++lineNumber;
        if (std::optional<ScriptError> error = parseLine(text.substr(0, end), lineNumber, script.commands))
            script.errors.push_back(std::move(*error));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return script;
}

std::string formatError(std::string_view fileName, const ScriptError &error)
{
    return std::string(fileName) + ':' + std::to_string(error.line) + ':' + std::to_string(error.column) +
           ": " + error.message;
}

} // namespace quillet::cli
