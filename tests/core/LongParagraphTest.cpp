// M carries the rest's width from call to call: a paragraph written one line
// per call, on a fake whose widths add up, gives to the bit the records, texts,
// rests and print positions of a fake that measures every text whole.

#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <functional>

using namespace quillet;
using namespace quillet::testing;

namespace {

/// What a host makes of each rest before passing it on: call 1, 2, ...
using HostEdit = std::function<void(int call, std::string &rest)>;

struct Written {
    std::vector<RecordFields> records;
    std::vector<std::tuple<std::string, float, float>> drawn; ///< text, x, y
    std::vector<std::pair<std::string, float>> calls;         ///< rest handed back, CurX after the call
};

Written writeParagraph(bool addsUpWidths, ListingMode mode, const std::string &paragraph,
                       const std::vector<float> &MaxX, const HostEdit &edit)
{
    TestSession t(mode);
    t.surfaceInUse().addsUpWidths = addsUpWidths;
    t.startAt(0, 0);
    Written written;
    std::string rest = paragraph;
    for (int call = 1; !rest.empty() && call < 1000; ++call) {
        rest = t.composer.M(rest, -1, 3, MaxX[call % MaxX.size()]);
        written.calls.emplace_back(rest, t.composer.CurX());
        t.composer.PNL();
        if (edit)
            edit(call, rest);
    }
    for (const SpoolRecord &record : t.records())
        written.records.push_back(fieldsOf(record));
    for (const auto &print : t.surfaceInUse().callsOf("print"))
        written.drawn.emplace_back(print.text, print.args[0], print.args[1]);
    return written;
}

std::string repeated(std::string_view text, int times)
{
    std::string all;
    for (int i = 0; i < times; ++i)
        all += text;
    return all;
}

TEST(LongParagraph, CarriedWidthsGiveWhatMeasuringEachRestGives)
{
    // clang-format off
    // MaxX: one call after the other; -1: the usable width.
    const struct { const char *name; std::string paragraph; ListingMode mode; std::vector<float> MaxX;
                   HostEdit edit; } rows[] = {
        {"runs of spaces: the rest loses its leading spaces, the consumed ones are not counted in it",
         repeated("aa   bbbb     c  dddddd ", 80), ListingMode::Preview, {40}, {}},
        {"line breaks: the text after one goes before the rest, one space between",
         repeated("um\r\ndois tres\nquatro cinco seis\rsete oito nove dez onze doze ", 30), ListingMode::Preview, {50}, {}},
        {"two line breaks in one line: the next call goes on from the text moved before the rest",
         repeated("a\nb\nc d e f g h i j k l m n o p ", 30), ListingMode::Preview, {30}, {}},
        {"a narrow line after a line break: the cut falls inside the text moved before the rest",
         repeated("aaaa bbbb\ncccccccc dddd eeee ffff gggg hhhh ", 30), ListingMode::Preview, {14, 40}, {}},
        {"multi-byte and malformed characters counted as characters", repeated("€€ ção \xff\xfe ab€ ", 60), ListingMode::Preview, {24}, {}},
        {"printing directly: no mark on the rest", repeated("aaaa bbbb cccc dddd ", 50), ListingMode::Direct, {30}, {}},
        {"the host edits the rest: same bytes, one character fewer, measured anew",
         repeated("ab cd ef gh ", 40), ListingMode::Preview, {30},
         [](int call, std::string &rest) { if (call == 3) rest.replace(0, 2, "é"); }},
        {"the host passes another text of the same length", repeated("ab cd ef gh ", 40), ListingMode::Preview, {30},
         [](int call, std::string &rest) { if (call == 2) rest = std::string(rest.size() - 3, 'x') + "é" + Composer::LineMark; }},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const Written carried = writeParagraph(true, row.mode, row.paragraph, row.MaxX, row.edit);
        const Written measured = writeParagraph(false, row.mode, row.paragraph, row.MaxX, row.edit);
        EXPECT_GT(carried.calls.size(), 5u) << "a paragraph of many lines";
        EXPECT_TRUE(carried.calls.back().first.empty()) << "the paragraph ends";
        EXPECT_EQ(carried.calls, measured.calls);
        EXPECT_EQ(carried.records, measured.records);
        EXPECT_EQ(carried.drawn, measured.drawn);
    }
}

} // namespace
