#pragma once
// Wildcard patterns of the Like kind, matched against the whole text, code
// point by code point: "?" any one character, "*" any run (also none), "#" one
// digit 0-9, "[list]" one character of the list (ranges such as a-z allowed),
// "[!list]" one character not in it; anything else matches itself. A text may
// group its code points into units, one for each character as written ("ss"
// for a folded "ß"): "?", "#" and a list then take a whole unit. Header-only.

#include <algorithm>
#include <bit>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

/// A text to match: its code points and, unless each is a unit of its own,
/// units[i], the length of the unit that starts at i (0 inside one).
struct LikeText {
    std::u32string_view chars;
    std::span<const unsigned char> units = {};
    size_t longestUnit = 1;
};

class LikePattern {
public:
    /// What a character of the pattern compares as: the code points it folds to.
    using Fold = std::function<std::u32string(char32_t)>;

    /// Nothing when the pattern is invalid: a "[" without its "]", or a
    /// range whose end comes before its start ("[z-a]"). fold, when given,
    /// folds the pattern's characters as the texts are folded.
    static std::optional<LikePattern> compile(std::u32string_view pattern, const Fold &fold = {})
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
                auto list = parseList(pattern.substr(i + 1, close - i - 1), fold);
                if (!list)
                    return std::nullopt;
                // An empty list stands for no character at all.
                if (list->negated || !list->ranges.empty() || !list->units.empty())
                    compiled.m_tokens.push_back(std::move(*list));
                i = close;
            } else if (!fold) {
                compiled.m_tokens.emplace_back(Token::Literal, c);
            } else {
                for (const char32_t folded : fold(c))
                    compiled.m_tokens.emplace_back(Token::Literal, folded);
            }
        }
        return compiled;
    }

    bool matches(std::u32string_view text) const { return matches(LikeText{text}); }
    bool matches(LikeText text) const
    {
        // Every token but "*" takes what its place decides, and takes less from
        // an earlier place, so on a mismatch it is enough to let the latest "*"
        // swallow one more character.
        size_t t = 0, p = 0;
        std::optional<std::pair<size_t, size_t>> lastRun; // (token after "*", text position)
        while (t < text.chars.size()) {
            size_t taken = 0;
            if (p < m_tokens.size() && m_tokens[p].kind == Token::AnyRun) {
                lastRun = {++p, t};
            } else if (p < m_tokens.size() && (taken = m_tokens[p].take(text, t)) != 0) {
                ++p;
                t += taken;
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
        return firstRun(LikeText{text});
    }
    std::optional<std::pair<size_t, size_t>> firstRun(LikeText text) const
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
    /// A token takes up to a unit, so the rows of the last longestUnit places are kept.
    std::optional<size_t> firstRunStart(LikeText text) const
    {
        const size_t count = m_tokens.size(), last = keptRows(text) - 1;
        Positions emptyTail(count + 1, 1);
        for (size_t j = count; j-- > 0;)
            emptyTail[j] = m_tokens[j].kind == Token::AnyRun && emptyTail[j + 1];
        // tails[at & last]: the tails matching from at, also by an empty run.
        std::vector<Positions> tails(last + 1, emptyTail);
        Positions fromHere(count + 1, 0); // runs of one character or more
        std::optional<size_t> first;
        for (size_t at = text.chars.size(); at-- > 0;) {
            const Positions &fromNext = tails[(at + 1) & last];
            for (size_t j = count; j-- > 0;) {
                const Token &token = m_tokens[j];
                if (token.kind == Token::AnyRun) {
                    fromHere[j] = fromHere[j + 1] || fromNext[j];
                } else {
                    const size_t taken = token.take(text, at);
                    fromHere[j] = taken != 0 && tails[(at + taken) & last][j + 1];
                }
            }
            if (fromHere[0])
                first = at;
            Positions &here = tails[at & last];
            for (size_t j = 0; j <= count; ++j)
                here[j] = fromHere[j] || emptyTail[j];
        }
        return first;
    }

    /// The end of the shortest run from first that matches; the text's end when none does.
    size_t shortestRunEnd(LikeText text, size_t first) const
    {
        const size_t count = m_tokens.size(), last = keptRows(text) - 1;
        // reached[at & last]: the tokens that matching has got to at the place at.
        std::vector<Positions> reached(last + 1, Positions(count + 1, 0));
        reached[first & last][0] = 1;
        for (size_t at = first; at < text.chars.size(); ++at) {
            Positions &here = reached[at & last];
            passEmptyRuns(here);
            if (at > first && here[count])
                return at;
            for (size_t j = 0; j < count; ++j) {
                if (!here[j])
                    continue;
                if (m_tokens[j].kind == Token::AnyRun)
                    reached[(at + 1) & last][j] = 1;
                else if (const size_t taken = m_tokens[j].take(text, at))
                    reached[(at + taken) & last][j + 1] = 1;
            }
            std::fill(here.begin(), here.end(), 0);
        }
        return text.chars.size();
    }

    /// Rows for the places a token can reach, a power of two to index them cheaply.
    static size_t keptRows(LikeText text) { return std::bit_ceil(text.longestUnit + 1); }

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
        std::vector<std::u32string> units;                 ///< of a list: characters folded to several

        /// How many code points the token takes at at; 0 when it does not match there.
        size_t take(LikeText text, size_t at) const
        {
            const char32_t c = text.chars[at];
            if (kind == Literal)
                return c == ranges.front().first;
            const size_t unit = text.units.empty() ? 1 : text.units[at];
            switch (kind) {
            case AnyOne:
                return unit;
            case Digit:
                return unit == 1 && c >= U'0' && c <= U'9';
            case AnyRun:
            case Literal:
                return 0;
            case List:
                break;
            }
            if (unit == 0)
                return 0;
            bool inList = false;
            if (unit == 1)
                for (const auto &[first, last] : ranges)
                    inList = inList || (c >= first && c <= last);
            else
                inList = std::find(units.begin(), units.end(), text.chars.substr(at, unit)) != units.end();
            return inList != negated ? unit : 0;
        }
    };

    /// The inside of "[...]": an optional leading "!", then characters and
    /// ranges; a "-" first or last is itself. Folded, a character stands for
    /// what it folds to, and a range also for the one between its folded ends.
    static std::optional<Token> parseList(std::u32string_view inside, const Fold &fold)
    {
        Token list(Token::List);
        list.ranges.clear();
        if (!inside.empty() && inside.front() == U'!') {
            list.negated = true;
            inside.remove_prefix(1);
        }
        const auto folded = [&fold](char32_t c) { return fold ? fold(c) : std::u32string(1, c); };
        for (size_t i = 0; i < inside.size(); ++i) {
            const bool range = i + 2 < inside.size() && inside[i + 1] == U'-';
            if (!range) {
                const std::u32string unit = folded(inside[i]);
                if (unit.size() == 1)
                    list.ranges.emplace_back(unit.front(), unit.front());
                else if (!unit.empty())
                    list.units.push_back(unit);
                continue;
            }
            if (inside[i + 2] < inside[i])
                return std::nullopt;
            list.ranges.emplace_back(inside[i], inside[i + 2]);
            const std::u32string first = folded(inside[i]), last = folded(inside[i + 2]);
            if (first.size() == 1 && last.size() == 1 && first.front() <= last.front())
                list.ranges.emplace_back(first.front(), last.front());
            i += 2;
        }
        return list;
    }

    std::vector<Token> m_tokens;
};

} // namespace quillet
