#pragma once
// The pages a print or a PDF export goes through, typed as in a print dialog:
// "1-3,7,10-". Spans keep the order typed (repeats included), and every page
// number is clamped to the listing's pages. Free of Qt, so the core tests
// check it.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quillet {

/// Pages first..last, numbered from 1.
struct PageSpan {
    int first = 1;
    int last = 1;
    bool operator==(const PageSpan &) const = default;
};

/// Why a typed page list was refused.
enum class PageListError {
    None,
    Empty,        ///< nothing but blanks
    BadCharacter, ///< something other than digits, '-', ',' and blanks
    EmptyItem,    ///< two commas in a row, or a comma at either end
    BadItem,      ///< "1-2-3", "-", "3 4": not a page or a range
    Reversed,     ///< a range that runs backwards, "5-3"
};

class PageList {
public:
    /// Parses a comma-separated list of pages "7" and ranges "1-3", "-5"
    /// (1 to 5) and "10-" (10 to the last page), with blanks anywhere around
    /// the numbers. Page numbers are clamped to 1..numPages; a listing without
    /// pages gives a valid, empty list.
    static PageList parse(std::string_view text, int numPages)
    {
        PageList list;
        if (text.find_first_not_of(Blanks) == std::string_view::npos)
            return refused(PageListError::Empty);
        if (text.find_first_not_of("0123456789-, \t") != std::string_view::npos)
            return refused(PageListError::BadCharacter);
        size_t start = 0;
        while (true) {
            const size_t comma = std::min(text.find(',', start), text.size());
            if (const PageListError error = list.addItem(text.substr(start, comma - start), numPages);
                error != PageListError::None)
                return refused(error);
            if (comma == text.size())
                return list;
            start = comma + 1;
        }
    }

    /// Pages fromPage..toPage, toPage -1 standing for the last page. A range
    /// that runs backwards is empty; otherwise both ends are clamped to
    /// 1..numPages, so that 5..-1 of a 3-page listing is page 3.
    static PageList range(int fromPage, int toPage, int numPages)
    {
        PageList list;
        list.addSpan(fromPage, toPage == -1 ? std::max(fromPage, numPages) : toPage, numPages);
        return list;
    }

    bool isValid() const { return m_error == PageListError::None; }
    PageListError error() const { return m_error; }
    const std::vector<PageSpan> &spans() const { return m_spans; }
    /// The number of pages the list goes through, repeats included.
    int64_t pageCount() const
    {
        int64_t count = 0;
        for (const PageSpan &span : m_spans)
            count += span.last - span.first + 1;
        return count;
    }
    bool isEmpty() const { return m_spans.empty(); }

    /// Calls visit(page) for every page in order until it returns false;
    /// false when it was stopped.
    template <typename Visit> bool forEachPage(Visit &&visit) const
    {
        for (const PageSpan &span : m_spans)
            for (int page = span.first; page <= span.last; ++page)
                if (!visit(page))
                    return false;
        return true;
    }

private:
    static constexpr std::string_view Blanks = " \t";
    /// Larger numbers read as this: far beyond any listing, far from overflow.
    static constexpr int64_t NumberCap = 1'000'000'000;

    static PageList refused(PageListError error)
    {
        PageList list;
        list.m_error = error;
        return list;
    }

    /// One item between commas: "n", "a-b", "-b" or "a-".
    PageListError addItem(std::string_view item, int numPages)
    {
        item = trimmed(item);
        if (item.empty())
            return PageListError::EmptyItem;
        const size_t dash = item.find('-');
        if (dash == std::string_view::npos) {
            const int64_t page = readNumber(item).value_or(-1);
            if (page < 0)
                return PageListError::BadItem;
            addSpan(page, page, numPages);
            return PageListError::None;
        }
        const std::string_view before = trimmed(item.substr(0, dash));
        const std::string_view after = trimmed(item.substr(dash + 1));
        if (before.empty() && after.empty())
            return PageListError::BadItem;
        const int64_t first = before.empty() ? 1 : readNumber(before).value_or(-1);
        const int64_t last =
            after.empty() ? std::max<int64_t>(first, numPages) : readNumber(after).value_or(-1);
        if (first < 0 || last < 0)
            return PageListError::BadItem;
        if (last < first)
            return PageListError::Reversed;
        addSpan(first, last, numPages);
        return PageListError::None;
    }

    void addSpan(int64_t first, int64_t last, int numPages)
    {
        if (numPages < 1 || last < first)
            return;
        const auto clamp = [numPages](int64_t page) {
            return static_cast<int>(std::clamp<int64_t>(page, 1, numPages));
        };
        m_spans.push_back({clamp(first), clamp(last)});
    }

    static std::string_view trimmed(std::string_view text)
    {
        const size_t begin = text.find_first_not_of(Blanks);
        return begin == std::string_view::npos
                   ? std::string_view()
                   : text.substr(begin, text.find_last_not_of(Blanks) - begin + 1);
    }

    /// The whole of text as a number; none when it is empty or holds anything but digits.
    static std::optional<int64_t> readNumber(std::string_view text)
    {
        if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
            return std::nullopt;
        int64_t value = 0;
        for (const char digit : text)
            value = std::min(value * 10 + (digit - '0'), NumberCap);
        return value;
    }

    std::vector<PageSpan> m_spans;
    PageListError m_error = PageListError::None;
};

} // namespace quillet
