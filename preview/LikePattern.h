#pragma once
// Wildcard patterns of the Like kind, matched against the whole text, code
// point by code point: "?" any one character, "*" any run (also none), "#" one
// digit 0-9, "[list]" one character of the list (ranges such as a-z allowed),
// "[!list]" one character not in it; anything else matches itself. Header-only
// and free of Qt, so the core tests can check it without a display.

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

class LikePattern {
public:
    /// Nothing when the pattern is invalid: a "[" without its "]", or a
    /// range whose end comes before its start ("[z-a]").
    static std::optional<LikePattern> compile(std::u32string_view pattern)
    {
        LikePattern compiled;
        for (size_t i = 0; i < pattern.size(); ++i) {
            const char32_t c = pattern[i];
            if (c == U'*') {
                compiled.m_tokens.emplace_back(Token::AnyRun);
            } else if (c == U'?') {
                compiled.m_tokens.emplace_back(Token::AnyOne);
            } else if (c == U'#') {
                compiled.m_tokens.emplace_back(Token::Digit);
            } else if (c == U'[') {
                const size_t close = pattern.find(U']', i + 1);
                if (close == std::u32string_view::npos)
                    return std::nullopt;
                auto list = parseList(pattern.substr(i + 1, close - i - 1));
                if (!list)
                    return std::nullopt;
                // An empty list stands for no character at all.
                if (list->negated || !list->ranges.empty())
                    compiled.m_tokens.push_back(std::move(*list));
                i = close;
            } else {
                compiled.m_tokens.emplace_back(Token::Literal, c);
            }
        }
        return compiled;
    }

    bool matches(std::u32string_view text) const
    {
        // Every token but "*" takes exactly one character, so on a mismatch it
        // is enough to let the latest "*" swallow one more character.
        size_t t = 0, p = 0;
        std::optional<std::pair<size_t, size_t>> lastRun; // (token after "*", text position)
        while (t < text.size()) {
            if (p < m_tokens.size() && m_tokens[p].kind == Token::AnyRun) {
                lastRun = {++p, t};
            } else if (p < m_tokens.size() && m_tokens[p].accepts(text[t])) {
                ++p;
                ++t;
            } else if (lastRun) {
                p = lastRun->first;
                t = ++lastRun->second;
            } else {
                return false;
            }
        }
        while (p < m_tokens.size() && m_tokens[p].kind == Token::AnyRun)
            ++p;
        return p == m_tokens.size();
    }

private:
    struct Token {
        enum Kind { Literal, AnyOne, AnyRun, Digit, List };
        explicit Token(Kind k, char32_t c = 0) : kind(k), ranges{{c, c}} {}

        Kind kind;
        bool negated = false;
        std::vector<std::pair<char32_t, char32_t>> ranges; ///< inclusive

        bool accepts(char32_t c) const
        {
            switch (kind) {
            case AnyOne:
                return true;
            case Digit:
                return c >= U'0' && c <= U'9';
            case AnyRun:
                return false;
            case Literal:
            case List:
                break;
            }
            bool inList = false;
            for (const auto &[first, last] : ranges)
                inList = inList || (c >= first && c <= last);
            return inList != negated;
        }
    };

    /// The inside of "[...]": an optional leading "!", then characters and
    /// ranges; a "-" first or last is itself.
    static std::optional<Token> parseList(std::u32string_view inside)
    {
        Token list(Token::List);
        list.ranges.clear();
        if (!inside.empty() && inside.front() == U'!') {
            list.negated = true;
            inside.remove_prefix(1);
        }
        for (size_t i = 0; i < inside.size(); ++i) {
            const bool range = i + 2 < inside.size() && inside[i + 1] == U'-';
            if (!range) {
                list.ranges.emplace_back(inside[i], inside[i]);
                continue;
            }
            if (inside[i + 2] < inside[i])
                return std::nullopt;
            list.ranges.emplace_back(inside[i], inside[i + 2]);
            i += 2;
        }
        return list;
    }

    std::vector<Token> m_tokens;
};

} // namespace quillet
