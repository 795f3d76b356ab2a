// Spool files damaged or written by someone else, crafted byte by byte and
// replayed: the renderer must neither crash nor hang, read nothing past a
// slot, and let no NaN, infinity or absurd length reach the surface or the
// print position.

#include "spool/SpoolFile.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <unistd.h>

using namespace quillet;
using namespace quillet::testing;

namespace {

using Texts = std::vector<std::string>;

/// Spool bytes written field by field, little-endian, independent of the codec.
class SpoolBytes {
public:
    /// A record slot; values in the writer's order A, B, C, D, E.
    SpoolBytes &record(int16_t page, uint8_t op, std::array<float, 5> v = {}, bool hasText = false)
    {
        return slot({uint16_t(page), uint16_t(op), bits(v[0]), bits(v[2]), bits(v[1]), bits(v[3]),
                     hasText ? 0xFFFFu : 0u, bits(v[4])},
                    {2, 1, 4, 4, 4, 4, 2, 4}, {});
    }
    /// A record followed by its text in one chunk.
    SpoolBytes &text(int16_t page, uint8_t op, std::string_view text, std::array<float, 5> values = {})
    {
        return record(page, op, values, true).chunk(false, static_cast<uint16_t>(text.size()), text);
    }
    SpoolBytes &chunk(bool more, uint16_t length, std::string_view text)
    {
        return slot({more ? 0xFFFFu : 0u, length}, {2, 2}, text);
    }
    /// The last slot cut short: only its first bytes reach the file.
    SpoolBytes &cutTo(size_t kept)
    {
        bytes.resize(bytes.size() - SlotSize + kept);
        return *this;
    }

    std::string bytes;

private:
    static uint32_t bits(float value) { return std::bit_cast<uint32_t>(value); }
    SpoolBytes &slot(std::vector<uint32_t> fields, std::vector<size_t> sizes, std::string_view tail)
    {
        std::string slot;
        for (size_t f = 0; f < fields.size(); ++f)
            for (size_t i = 0; i < sizes[f]; ++i)
                slot += static_cast<char>((fields[f] >> (8 * i)) & 0xFF);
        slot += tail;
        slot.resize(SlotSize, '\0');
        bytes += slot;
        return *this;
    }
};

/// A shown listing whose spool is replaced by a crafted file.
class DamagedSpool : public ::testing::Test {
protected:
    void SetUp() override { t.composer.PNewImg(fakePicture(30, 20)); }

    void useFile(const SpoolBytes &file, std::vector<int32_t> pageIndex = {1})
    {
        t.session.spool->remove(); // the crafted file goes with the session
        const auto path = std::filesystem::temp_directory_path() /
                          ("QuilletDamaged-" + std::to_string(::getpid()) + ".spl");
        std::ofstream(path, std::ios::binary) << file.bytes;
        auto opened = SpoolFile::open(path.string());
        ASSERT_TRUE(opened);
        t.session.spool = std::move(opened);
        t.state().PageIndex = std::move(pageIndex);
        t.state().Spooling = false;
        t.state().NumPages = static_cast<int16_t>(t.state().PageIndex.size());
    }

    /// Renders a page and checks that every number that reached the surface or
    /// the state is finite and within a kilometre (a device turns millimetres into whole pixels).
    Texts render(int page)
    {
        const Texts texts = t.render(page);
        const auto sane = [](float value) { return std::isfinite(value) && std::abs(value) <= 1e6f; };
        for (const auto &call : t.pageSurface.calls) {
            for (float arg : call.args)
                EXPECT_TRUE(sane(arg)) << call.op << " got " << arg;
            EXPECT_TRUE(sane(call.font.size)) << call.op;
        }
        const ListingState &s = t.state();
        for (float value : {s.CursorX, s.CursorY, s.LeftMarg, s.TopMarg, s.RightMarg, s.BotMarg, s.UseW,
                            s.UseH, t.pageSurface.currentX(), t.pageSurface.currentY()})
            EXPECT_TRUE(sane(value)) << value;
        for (int i = 0; i < s.NumCols; ++i)
            EXPECT_TRUE(sane(s.Cols[i].ColLeft) && sane(s.Cols[i].ColRight)) << "column " << i;
        return texts;
    }

    TestSession t;
};

// A file cut short ends at its last whole slot; a text whose chunks run past it
// keeps the chunks that were read.
TEST_F(DamagedSpool, CutFilesKeepWhatIsWhole)
{
    // clang-format off
    const struct {
        const char *name;
        SpoolBytes file;
        Texts drawn;
    } rows[] = {
        {"inside a chunk",
         SpoolBytes().text(1, RecTextLeft, "abc").record(1, RecTextLeft, {}, true).chunk(false, 3, "zzz").cutTo(60),
         {"abc", ""}},
        {"inside the second chunk",
         SpoolBytes()
             .record(1, RecTextLeft, {}, true)
             .chunk(true, 100, std::string(100, 'x'))
             .chunk(false, 100, std::string(100, 'y'))
             .cutTo(50),
         {std::string(100, 'x')}},
        {"shorter than a slot", SpoolBytes().record(1, RecTextLeft).cutTo(24), {}},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        useFile(row.file);
        EXPECT_EQ(render(1), row.drawn);
    }
}

TEST_F(DamagedSpool, UnknownOpcodesAndOverlongChunksReadNothingPastTheirSlots)
{
    // The chunk of opcode 255 holds bytes that would read as a text record.
    const std::string lookalike = SpoolBytes().record(1, RecTextLeft, {}, true).bytes.substr(0, 100);
    useFile(SpoolBytes()
                .text(1, RecTextLeft, "a")
                .text(1, 255, lookalike)
                .record(1, 21, {1, 2, 3, 4, 5})
                .record(1, RecTextLeft, {}, true)
                .chunk(false, 5000, "hello")
                .text(1, RecTextLeft, "b"));
    EXPECT_EQ(render(1), (Texts{"a", "hello" + std::string(SlotSize - 4 - 5, '\0'), "b"}));
}

TEST_F(DamagedSpool, TextThatNeverEndsStopsAtTheEndOfTheFile)
{
    SpoolBytes file;
    file.record(1, RecTextLeft, {}, true);
    std::string expected;
    for (int i = 0; i < 300; ++i) {
        file.chunk(true, 3, "abc");
        expected += "abc";
    }
    useFile(file);
    EXPECT_EQ(render(1), Texts{expected});
    EXPECT_EQ(render(1), Texts{expected}) << "and again";
}

TEST_F(DamagedSpool, PageIndexPastTheEndDrawsNothing)
{
    useFile(SpoolBytes().text(1, RecTextLeft, "p1").text(2, RecTextLeft, "p2"),
            {1, 9999, std::numeric_limits<int32_t>::max()});
    EXPECT_EQ(render(2), Texts{}) << "an entry past the end draws nothing";
    EXPECT_EQ(render(3), Texts{});
    EXPECT_EQ(render(1), Texts{"p1"});
}

// Every opcode with the bad value in every field, then again with one field
// usable at a time so the commands get past their whole numbers (colour, style,
// column, picture); cells of columns with bad edges; last a text at the print
// position, which must still land somewhere real.
TEST_F(DamagedSpool, BadValuesReachNeitherTheSurfaceNorThePrintPosition)
{
    for (float bad :
         {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
          -std::numeric_limits<float>::infinity(), 1e30f, -1e30f, std::numeric_limits<float>::max()}) {
        SCOPED_TRACE(bad);
        SpoolBytes file;
        file.record(1, RecNewCol, {0, 50});
        for (int usable = -1; usable <= 2; ++usable) {
            for (int op = RecMargins; op <= RecImage; ++op) {
                std::array<float, 5> values = {bad, bad, bad, bad, bad};
                if (usable >= 0)
                    values[usable] = 1;
                const bool shape = op == RecBox || op == RecCircle || op == RecLine;
                file.text(1, static_cast<uint8_t>(op), shape ? "\x05" : "Arial PRICOCO", values);
            }
        }
        file.record(1, RecClsCols).record(1, RecNewCol, {bad, 10}).record(1, RecNewCol, {0, bad});
        for (uint8_t op : {RecColLeft, RecColRight, RecColCenter})
            for (float column : {1.0f, 2.0f})
                file.text(1, op, "célula", {column, 0, -1});
        file.text(1, RecTextLeft, "fim", {-1, -1});
        useFile(file);
        const Texts texts = render(1);
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts.back(), "fim");
        t.composer.ListingDefaults(); // a fresh start for the next value
    }
}

} // namespace
