// Spool files damaged or written by someone else, crafted byte by byte and
// replayed: the renderer must neither crash nor hang, read nothing past a
// slot, and let no NaN, infinity or absurd length reach the surface or the
// print position.

#include "render/PageRenderer.h"
#include "spool/SpoolFile.h"
#include "support/FakePicture.h"
#include "support/PrintedText.h"
#include "support/RowName.h"
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

using quillet::testing::PrintTo; // rows print as their names
using Texts = std::vector<std::string>;

/// Spool bytes written field by field, little-endian, independent of the codec.
class SpoolBytes {
public:
    /// A record slot; values in the writer's order A, B, C, D, E.
    SpoolBytes &record(int16_t page, uint8_t op, std::array<float, 5> values = {}, bool hasText = false)
    {
        std::string slot(SlotSize, '\0');
        put(slot, 0, static_cast<uint16_t>(page));
        slot[2] = static_cast<char>(op);
        put(slot, 3, std::bit_cast<uint32_t>(values[0]));
        put(slot, 7, std::bit_cast<uint32_t>(values[2])); // valC before valB on disk
        put(slot, 11, std::bit_cast<uint32_t>(values[1]));
        put(slot, 15, std::bit_cast<uint32_t>(values[3]));
        put(slot, 19, hasText ? uint16_t{0xFFFF} : uint16_t{0});
        put(slot, 21, std::bit_cast<uint32_t>(values[4]));
        bytes += slot;
        return *this;
    }
    /// A record followed by its text in one chunk.
    SpoolBytes &text(int16_t page, uint8_t op, std::string_view text, std::array<float, 5> values = {})
    {
        return record(page, op, values, true).chunk(false, static_cast<uint16_t>(text.size()), text);
    }
    SpoolBytes &chunk(bool more, uint16_t length, std::string_view text)
    {
        std::string slot(SlotSize, '\0');
        put(slot, 0, more ? uint16_t{0xFFFF} : uint16_t{0});
        put(slot, 2, length);
        slot.replace(4, text.size(), text);
        bytes += slot;
        return *this;
    }
    /// A slot cut short: only its first bytes reach the file.
    SpoolBytes &cutTo(size_t kept)
    {
        bytes.resize(bytes.size() - SlotSize + kept);
        return *this;
    }

    std::string bytes;

private:
    template <typename Unsigned> static void put(std::string &slot, size_t at, Unsigned value)
    {
        for (size_t i = 0; i < sizeof value; ++i)
            slot[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
};

/// A shown listing whose spool is replaced by a crafted file.
class DamagedSpool : public ::testing::Test {
protected:
    void SetUp() override { t.composer.PNewImg(fakePicture(30, 20)); }

    void useFile(const SpoolBytes &file, std::vector<int32_t> pageIndex = {1})
    {
        const std::string path = (std::filesystem::temp_directory_path() /
                                  ("QuilletDamaged-" + std::to_string(::getpid()) + ".spl"))
                                     .string();
        std::ofstream(path, std::ios::binary) << file.bytes;
        auto opened = SpoolFile::open(path);
        ASSERT_TRUE(opened);
        t.session.spool->remove(); // the test session's own file; the crafted one goes with the session
        t.session.spool = std::move(opened);
        ListingState &s = t.state();
        s.PageIndex = std::move(pageIndex);
        s.Spooling = false;
        s.NumPages = static_cast<int16_t>(s.PageIndex.size());
    }

    Texts render(int page)
    {
        t.state().CurPage = static_cast<int16_t>(page);
        t.pageSurface.calls.clear();
        PageRenderer(t.session).render();
        expectAllSane();
        Texts texts;
        for (const auto &p : printsOn(t.pageSurface))
            texts.push_back(p.text);
        return texts;
    }

    /// Finite, and within a kilometre: a device turns millimetres into whole
    /// pixels, and 1e30 mm would overflow them.
    static bool sane(float value) { return std::isfinite(value) && std::abs(value) <= 1e6f; }

    void expectAllSane()
    {
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
    }

    TestSession t;
};

struct CutRow {
    const char *name;
    SpoolBytes file;
    Texts drawn;
};

// A file cut short ends at its last whole slot; a text whose chunks run past
// it keeps the chunks that were read.
const CutRow cutRows[] = {
    {"InsideARecord", SpoolBytes().text(1, RecTextLeft, "abc").record(1, RecTextLeft).cutTo(10), {"abc"}},
    {"InsideAChunk",
     SpoolBytes()
         .text(1, RecTextLeft, "abc")
         .record(1, RecTextLeft, {}, true)
         .chunk(false, 3, "zzz")
         .cutTo(60),
     {"abc", ""}},
    {"InsideTheSecondChunk",
     SpoolBytes()
         .record(1, RecTextLeft, {}, true)
         .chunk(true, 100, std::string(100, 'x'))
         .chunk(false, 100, std::string(100, 'y'))
         .cutTo(50),
     {std::string(100, 'x')}},
    {"ShorterThanASlot", SpoolBytes().record(1, RecTextLeft).cutTo(24), {}},
    {"Empty", SpoolBytes(), {}},
};

class DamagedSpoolCut : public DamagedSpool, public ::testing::WithParamInterface<CutRow> {};

TEST_P(DamagedSpoolCut, KeepsWhatIsWhole)
{
    useFile(GetParam().file);
    EXPECT_EQ(render(1), GetParam().drawn);
}

INSTANTIATE_TEST_SUITE_P(DamagedFiles, DamagedSpoolCut, ::testing::ValuesIn(cutRows), RowName());

TEST_F(DamagedSpool, UnknownOpcodesAreSkippedWithTheirText)
{
    // The chunk of opcode 255 holds bytes that would read as a text record.
    const std::string lookalike = SpoolBytes().record(1, RecTextLeft, {}, true).bytes.substr(0, 100);
    useFile(SpoolBytes()
                .text(1, RecTextLeft, "a")
                .text(1, 255, lookalike)
                .record(1, 21, {1, 2, 3, 4, 5})
                .text(1, RecTextLeft, "b"));
    EXPECT_EQ(render(1), (Texts{"a", "b"}));
}

TEST_F(DamagedSpool, ChunkLengthBeyondTheSlotReadsOnlyTheSlot)
{
    useFile(SpoolBytes()
                .record(1, RecTextLeft, {}, true)
                .chunk(false, 5000, "hello")
                .text(1, RecTextLeft, "next"));
    const Texts texts = render(1);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "hello" + std::string(SlotSize - 4 - 5, '\0')) << "the rest of the slot, no more";
    EXPECT_EQ(texts[1], "next") << "the next slot is still a record";
}

TEST_F(DamagedSpool, TextThatNeverEndsStopsAtTheEndOfTheFile)
{
    SpoolBytes file;
    file.record(1, RecTextLeft, {}, true);
    for (int i = 0; i < 300; ++i)
        file.chunk(true, 3, "abc");
    useFile(file);
    std::string expected;
    for (int i = 0; i < 300; ++i)
        expected += "abc";
    EXPECT_EQ(render(1), Texts{expected});
    EXPECT_EQ(render(1), Texts{expected}) << "and again";
}

TEST_F(DamagedSpool, PageIndexPastTheEndDrawsNothing)
{
    useFile(SpoolBytes().text(1, RecTextLeft, "p1").text(2, RecTextLeft, "p2"),
            {1, 9999, std::numeric_limits<int32_t>::max()});
    EXPECT_EQ(render(2), Texts{});
    EXPECT_EQ(render(3), Texts{});
    EXPECT_EQ(render(1), Texts{"p1"});
}

TEST_F(DamagedSpool, PageNumberGoingBackwardsEndsThePage)
{
    useFile(SpoolBytes()
                .text(1, RecTextLeft, "a1")
                .text(2, RecTextLeft, "b1")
                .text(1, RecTextLeft, "a2")
                .text(2, RecTextLeft, "b2"),
            {1, 3});
    EXPECT_EQ(render(1), Texts{"a1"});
    EXPECT_EQ(render(2), Texts{"b1"}) << "a record of page 1 ends page 2";
    EXPECT_EQ(render(1), Texts{"a1"});
}

struct BadValueRow {
    const char *name;
    float value;
};

const BadValueRow badValueRows[] = {
    {"NaN", std::numeric_limits<float>::quiet_NaN()},
    {"PlusInfinity", std::numeric_limits<float>::infinity()},
    {"MinusInfinity", -std::numeric_limits<float>::infinity()},
    {"Huge", 1e30f},
    {"MinusHuge", -1e30f},
    {"LargestFloat", std::numeric_limits<float>::max()},
};

class DamagedSpoolValues : public DamagedSpool, public ::testing::WithParamInterface<BadValueRow> {};

// Every opcode with the bad value in every field, then again with one field
// usable at a time so the commands get past their whole numbers (colour,
// style, column, picture); cells of columns with bad edges; last a text at the
// print position, which must still land somewhere real.
TEST_P(DamagedSpoolValues, ReachNeitherTheSurfaceNorThePrintPosition)
{
    const float bad = GetParam().value;
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
}

INSTANTIATE_TEST_SUITE_P(DamagedValues, DamagedSpoolValues, ::testing::ValuesIn(badValueRows), RowName());

} // namespace
