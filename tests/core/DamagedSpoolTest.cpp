// Crafted spool files replayed: no crash, no hang, nothing read past a slot,
// and only finite, sane numbers reach the surface or the print position.

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
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();

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
    SpoolBytes &text(int16_t page, uint8_t op, std::string_view text, std::array<float, 5> values = {})
    {
        return record(page, op, values, true).chunk(false, static_cast<uint16_t>(text.size()), text);
    }
    SpoolBytes &chunk(bool more, uint16_t length, std::string_view text)
    {
        return slot({more ? 0xFFFFu : 0u, length}, {2, 2}, text);
    }
    /// Keeps only the first bytes of the last slot.
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

SpoolBytes endlessText(std::string &expected)
{
    SpoolBytes file;
    file.record(1, RecTextLeft, {}, true);
    for (int i = 0; i < 300; ++i, expected += "abc")
        file.chunk(true, 3, "abc");
    return file;
}

TEST(DamagedSpool, CraftedFilesDrawWhatIsWholeWithSaneNumbers)
{
    std::string endless;
    const SpoolBytes endlessFile = endlessText(endless);
    const std::string lookalike = SpoolBytes().record(1, RecTextLeft, {}, true).bytes.substr(0, 100);
    // clang-format off
    const struct {
        const char *name;
        SpoolBytes file;
        Texts drawn;
        std::vector<int32_t> pageIndex = {1};
        int page = 1;
    } rows[] = {
        {"truncated record", SpoolBytes().text(1, RecTextLeft, "abc").record(1, RecTextLeft).cutTo(24), {"abc"}},
        {"opcode 255", SpoolBytes().text(1, 255, lookalike).text(1, RecTextLeft, "b"), {"b"}},
        {"chunk length 5000",
         SpoolBytes().record(1, RecTextLeft, {}, true).chunk(false, 5000, "hello").text(1, RecTextLeft, "b"),
         {"hello" + std::string(SlotSize - 4 - 5, '\0'), "b"}},
        {"endless more", endlessFile, {endless}},
        {"index past the end", SpoolBytes().text(1, RecTextLeft, "p1").text(2, RecTextLeft, "p2"), {}, {1, 9999}, 2},
        {"NaN position", SpoolBytes().text(1, RecTextLeft, "fim", {NaN, NaN}), {"fim"}},
        {"huge size", SpoolBytes().text(1, RecBox, "\x05", {10, 10, 1e30f, Inf}).text(1, RecTextLeft, "fim", {-1, -1}),
         {"fim"}},
    };
    // clang-format on
    const auto sane = [](float value) { return std::isfinite(value) && std::abs(value) <= 1e6f; };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        TestSession t;
        t.composer.PNewImg(fakePicture(30, 20));
        t.session.spool->remove();
        const auto path = std::filesystem::temp_directory_path() /
                          ("QuilletDamaged-" + std::to_string(::getpid()) + ".spl");
        std::ofstream(path, std::ios::binary) << row.file.bytes;
        t.session.spool = SpoolFile::open(path.string());
        ASSERT_TRUE(t.session.spool);
        t.state().PageIndex = row.pageIndex;
        t.state().Spooling = false;
        t.state().NumPages = static_cast<int16_t>(row.pageIndex.size());

        EXPECT_EQ(t.render(row.page), row.drawn);
        for (const auto &call : t.pageSurface.calls) {
            for (float arg : call.args)
                EXPECT_TRUE(sane(arg)) << call.op << " got " << arg;
            EXPECT_TRUE(sane(call.font.size)) << call.op;
        }
        const ListingState &s = t.state();
        for (float value : {s.CursorX, s.CursorY, t.pageSurface.currentX(), t.pageSurface.currentY()})
            EXPECT_TRUE(sane(value)) << value;
    }
}

} // namespace
