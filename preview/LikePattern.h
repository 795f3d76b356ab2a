#pragma once
// Wildcard patterns of the Like kind, matched against the whole text, code
// point by code point: "?" any one character, "*" any run (also none), "#" one
// digit 0-9, "[list]" one character of the list (ranges such as a-z allowed),
// "[!list]" one character not in it; anything else matches itself. Header-only
// and free of Qt, so the core tests can check it without a display.

#include <algorithm>
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

    /// The first run of the text that matches, as (first, end) code points:
    /// of the runs that start first, the shortest. Runs are never empty. Two
    /// passes over the text, each step trying every token once.
    std::optional<std::pair<size_t, size_t>> firstRun(std::u32string_view text) const
    {
        const std::optional<size_t> first = firstRunStart(text);
        if (!first)
            return std::nullopt;
        return std::pair<size_t, size_t>(*first, shortestRunEnd(text, *first));
    }

private:
    /// One flag per token position j: whether matching has got to (or, for
    /// firstRunStart, can go on from) the token j.
    using Positions = std::vector<char>;

    /// Where the earliest matching run starts, found from the text's end
    /// backwards: at each place, which tails of the pattern match a run there.
    std::optional<size_t> firstRunStart(std::u32string_view text) const
    {
        const size_t count = m_tokens.size();
        Positions emptyTail(count + 1, 1);
        for (size_t j = count; j-- > 0;)
            emptyTail[j] = m_tokens[j].kind == Token::AnyRun && emptyTail[j + 1];
        Positions fromNext = emptyTail, fromHere(count + 1, 0); // fromHere: runs of one character or more
        std::optional<size_t> first;
        for (size_t at = text.size(); at-- > 0;) {
            for (size_t j = count; j-- > 0;) {
                const Token &token = m_tokens[j];
                fromHere[j] = token.kind == Token::AnyRun ? fromHere[j + 1] || fromNext[j]
                                                         : token.accepts(text[at]) && fromNext[j + 1];
            }
            if (fromHere[0])
                first = at;
            for (size_t j = 0; j <= count; ++j)
                fromNext[j] = fromHere[j] || emptyTail[j];
        }
        return first;
    }

    /// The end of the shortest run from first that matches; the text's end when none does.
    size_t shortestRunEnd(std::u32string_view text, size_t first) const
    {
        const size_t count = m_tokens.size();
        Positions reached(count + 1, 0), next(count + 1);
        reached[0] = 1;
        passEmptyRuns(reached);
        for (size_t at = first; at < text.size(); ++at) {
            std::fill(next.begin(), next.end(), 0);
            for (size_t j = 0; j < count; ++j) {
                if (!reached[j])
                    continue;
                if (m_tokens[j].kind == Token::AnyRun)
                    next[j] = 1;
                else if (m_tokens[j].accepts(text[at]))
                    next[j + 1] = 1;
            }
            passEmptyRuns(next);
            if (next[count])
                return at + 1;
            reached.swap(next);
        }
        return text.size();
    }

    /// A "*" may take nothing: getting to it gets past it too.
    void passEmptyRuns(Positions &positions) const
    {
        for (size_t j = 0; j < m_tokens.size(); ++j)
            if (positions[j] && m_tokens[j].kind == Token::AnyRun)
                positions[j + 1] = 1;
    }

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
