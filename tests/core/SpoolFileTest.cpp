// The spool file as bytes on disk: slot layout, text chunks, completeness
// after every write and behaviour when writes fail.

#include "spool/SpoolFile.h"

#include "support/RowName.h"

#include <gtest/gtest.h>

#include <bit>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>

using namespace quillet;

namespace {

using quillet::testing::PrintTo; // rows print as their names

std::string fileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint8_t byteAt(const std::string &bytes, size_t offset)
{
    return static_cast<uint8_t>(bytes.at(offset));
}

// Decoded by hand, little-endian, so the test does not share the codec's assumptions.
uint16_t uint16At(const std::string &bytes, size_t offset)
{
    return static_cast<uint16_t>(byteAt(bytes, offset) | byteAt(bytes, offset + 1) << 8);
}

int16_t int16At(const std::string &bytes, size_t offset)
{
    return static_cast<int16_t>(uint16At(bytes, offset));
}

float floatAt(const std::string &bytes, size_t offset)
{
    const uint32_t bits = uint32_t{uint16At(bytes, offset)} | uint32_t{uint16At(bytes, offset + 2)} << 16;
    return std::bit_cast<float>(bits);
}

size_t slotOffset(int slot)
{
    return static_cast<size_t>(slot - 1) * SlotSize;
}

class SpoolFileTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (spool)
            spool->remove();
    }
    std::string bytes() const { return fileBytes(spool->path()); }

    std::unique_ptr<SpoolFile> spool = SpoolFile::create("QuilletSpoolTest-");
};

TEST_F(SpoolFileTest, RecordFieldsSitAtTheirOffsetsWithValCBeforeValB)
{
    ASSERT_TRUE(spool);
    ASSERT_TRUE(spool->write({258, RecBox, 1.0f, 2.5f, 3.5f, 4.5f, 5.5f, ""}));

    const std::string b = bytes();
    ASSERT_EQ(b.size(), size_t{SlotSize});
    EXPECT_EQ(byteAt(b, 0), 0x02) << "page is little-endian";
    EXPECT_EQ(byteAt(b, 1), 0x01);
    EXPECT_EQ(byteAt(b, 2), int{RecBox});
    // 1.0f is 0x3F800000: its low byte comes first.
    EXPECT_EQ(byteAt(b, 3), 0x00);
    EXPECT_EQ(byteAt(b, 6), 0x3F);
    EXPECT_EQ(floatAt(b, 3), 1.0f) << "valA";
    EXPECT_EQ(floatAt(b, 7), 3.5f) << "valC comes second on disk";
    EXPECT_EQ(floatAt(b, 11), 2.5f) << "valB comes third on disk";
    EXPECT_EQ(floatAt(b, 15), 4.5f) << "valD";
    EXPECT_EQ(int16At(b, 19), 0) << "no text";
    EXPECT_EQ(floatAt(b, 21), 5.5f) << "valE";
    EXPECT_EQ(b.find_first_not_of('\0', RecordSize), std::string::npos) << "rest of the slot is zero";
}

TEST_F(SpoolFileTest, RecordWithTextHasTextMinusOne)
{
    ASSERT_TRUE(spool);
    ASSERT_TRUE(spool->write({1, RecTextLeft, 0, 0, 0, 0, 0, "x"}));
    EXPECT_EQ(int16At(bytes(), 19), -1);
}

TEST_F(SpoolFileTest, FileIsCompleteAfterEveryWrite)
{
    ASSERT_TRUE(spool);
    const struct {
        std::string text;
        int slots;
    } commands[] = {{"", 1}, {std::string(250, 'a'), 4}, {"short", 2}, {std::string(100, 'b'), 2}};
    int expectedSlots = 0;
    for (const auto &command : commands) {
        SCOPED_TRACE(command.text.size());
        ASSERT_TRUE(spool->write({1, RecTextMulti, 0, 0, 0, 0, 0, command.text}));
        expectedSlots += command.slots;
        EXPECT_EQ(spool->lastSlot(), expectedSlots);
        // Read from disk, not from the object: a crash right now must leave whole commands.
        EXPECT_EQ(std::filesystem::file_size(spool->path()),
                  static_cast<uintmax_t>(expectedSlots) * SlotSize);
    }
}

TEST_F(SpoolFileTest, ReadsCommandsInOrderFromAnySlotAndNothingPastTheEnd)
{
    ASSERT_TRUE(spool);
    const SpoolRecord written[] = {{1, RecMargins, 10, 20, 30, 40, 0, ""},
                                   {1, RecTextLeft, -1, 5, 0, 0, 1, std::string(150, 'q')},
                                   {2, RecNewLine, 4, 0, 0, 0, 0, ""}};
    for (const auto &record : written)
        ASSERT_TRUE(spool->write(record));

    spool->seek(1);
    for (const auto &expected : written) {
        const auto read = spool->read();
        ASSERT_TRUE(read);
        EXPECT_EQ(read->page, expected.page);
        EXPECT_EQ(int{read->op}, expected.op);
        EXPECT_EQ(read->valA, expected.valA);
        EXPECT_EQ(read->valB, expected.valB);
        EXPECT_EQ(read->valC, expected.valC);
        EXPECT_EQ(read->valD, expected.valD);
        EXPECT_EQ(read->valE, expected.valE);
        EXPECT_EQ(read->text, expected.text);
    }
    EXPECT_FALSE(spool->read()) << "past the end";

    spool->seek(5); // the record after the two-chunk text
    const auto third = spool->read();
    ASSERT_TRUE(third);
    EXPECT_EQ(int{third->op}, RecNewLine);

    for (int slot : {0, -3, 6, 1000}) {
        SCOPED_TRACE(slot);
        spool->seek(slot);
        EXPECT_FALSE(spool->read());
    }
}

TEST_F(SpoolFileTest, WriteAfterRemoveFailsQuietlyAndDeletesNothingElse)
{
    ASSERT_TRUE(spool);
    const std::string path = spool->path();
    ASSERT_TRUE(spool->write({1, RecColor, 0, 0, 0, 0, 0, ""}));
    spool->remove();
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(spool->write({1, RecColor, 0, 0, 0, 0, 0, ""}));
    spool->seek(1);
    EXPECT_FALSE(spool->read());
    spool->remove(); // twice is no error
}

TEST_F(SpoolFileTest, DamagedFileReadsWhatIsThereAndStops)
{
    ASSERT_TRUE(spool);
    ASSERT_TRUE(spool->write({1, RecTextMulti, 0, 0, 0, 0, 0, std::string(250, 'd')}));
    // A copy cut inside its last chunk: two whole chunks and half a slot remain.
    const std::string damagedPath = spool->path() + ".damaged";
    {
        std::ofstream damaged(damagedPath, std::ios::binary);
        damaged << bytes().substr(0, 3 * SlotSize + SlotSize / 2);
    }
    auto damaged = SpoolFile::open(damagedPath);
    ASSERT_TRUE(damaged);
    EXPECT_EQ(damaged->lastSlot(), 3) << "the half slot is not a slot";
    const auto cut = damaged->read();
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->text, std::string(200, 'd')) << "the text keeps the chunks that were read";
    EXPECT_FALSE(damaged->read());
    damaged->remove();
    EXPECT_EQ(SpoolFile::open(damagedPath), nullptr) << "gone";
}

/// Limits the size of files this process may write; a write past it fails
/// instead of killing the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    bool active() const { return m_active; }

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = SIG_DFL;
    bool m_active = false;
};

TEST_F(SpoolFileTest, FailedWriteLeavesNoPartialCommandAndLaterWritesGoOn)
{
    ASSERT_TRUE(spool);
    bool results[3] = {};
    int32_t slotsAfterFailure = -1;
    {
        // Nothing is asserted inside: a failure message could not be written to a file either.
        FileSizeLimit limit(3 * SlotSize);
        ASSERT_TRUE(limit.active());
        results[0] = spool->write({1, RecColor, 1, 0, 0, 0, 0, ""});
        results[1] = spool->write({1, RecTextMulti, 2, 0, 0, 0, 0, std::string(250, 'z')}); // 4 slots
        slotsAfterFailure = spool->lastSlot();
        results[2] = spool->write({1, RecNewLine, 3, 0, 0, 0, 0, ""});
    }
    EXPECT_TRUE(results[0]);
    EXPECT_FALSE(results[1]) << "the text did not fit under the limit";
    EXPECT_EQ(slotsAfterFailure, 1);
    EXPECT_TRUE(results[2]) << "the next command takes the slot the failed one left free";

    EXPECT_EQ(std::filesystem::file_size(spool->path()), 2u * SlotSize);
    spool->seek(1);
    const auto first = spool->read();
    const auto second = spool->read();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(int{first->op}, RecColor);
    EXPECT_EQ(int{second->op}, RecNewLine);
    EXPECT_EQ(second->valA, 3);
    EXPECT_FALSE(spool->read());
}

// Text chunking: a table of texts and the chunk lengths they must give.
struct ChunkRow {
    const char *name;
    std::string text;
    std::vector<int> chunkBytes;
    const char *reason;
};

std::string repeat(char c, int count)
{
    return std::string(static_cast<size_t>(count), c);
}

const ChunkRow chunkRows[] = {
    {"Empty", "", {}, "no chunk at all, exactly one slot"},
    {"OneCharacter", "a", {1}, "one short chunk"},
    {"Exactly100", repeat('a', 100), {100}, "one chunk, more = 0"},
    {"Length101", repeat('a', 101), {100, 1}, "the 101st byte starts a new chunk"},
    {"Length250", repeat('a', 250), {100, 100, 50}, "full chunks then the rest"},
    {"TwoByteCharacterAcrossTheCut", repeat('a', 99) + "\xC3\xA9", {99, 2}, "e-acute is not split"},
    {"TwoByteCharacterEndingAtTheCut",
     repeat('a', 98) + "\xC3\xA9" + "b",
     {100, 1},
     "the cut falls between characters"},
    {"FourByteCharacterAcrossTheCut",
     repeat('a', 97) + "\xF0\x9F\x98\x80" + "b",
     {97, 5},
     "an emoji is kept whole"},
    {"ThreeByteCharactersOnly",
     [] {
         std::string euros;
         for (int i = 0; i < 40; ++i)
             euros += "\xE2\x82\xAC";
         return euros;
     }(),
     {99, 21},
     "33 euro signs fill a chunk"},
    {"InvalidContinuationBytes", repeat('\x80', 150), {100, 50}, "malformed text is cut anyway, bytes kept"},
    {"LoneLeadByteAtTheCut",
     repeat('a', 99) + "\xC3" + repeat('b', 10),
     {100, 10},
     "a broken character is kept as bytes"},
    {"NulBytes", std::string(120, '\0'), {100, 20}, "binary text round-trips"},
};

class SpoolChunking : public SpoolFileTest, public ::testing::WithParamInterface<ChunkRow> {};

TEST_P(SpoolChunking, StoresTextInChunksAndReadsItBackWhole)
{
    const ChunkRow &row = GetParam();
    SCOPED_TRACE(row.reason);
    ASSERT_TRUE(spool);
    ASSERT_TRUE(spool->write({1, RecTextMulti, 1, 2, 3, 4, 5, row.text}));
    ASSERT_TRUE(spool->write({1, RecNewLine, 9, 0, 0, 0, 0, ""})); // must not be swallowed by the text

    const std::string b = bytes();
    const int chunks = static_cast<int>(row.chunkBytes.size());
    ASSERT_EQ(b.size(), static_cast<size_t>(chunks + 2) * SlotSize);
    EXPECT_EQ(int16At(b, 19), chunks == 0 ? 0 : -1);
    std::string joined;
    for (int i = 0; i < chunks; ++i) {
        SCOPED_TRACE("chunk " + std::to_string(i));
        const size_t slot = slotOffset(i + 2);
        EXPECT_EQ(int16At(b, slot), i + 1 < chunks ? -1 : 0) << "more";
        EXPECT_EQ(uint16At(b, slot + 2), row.chunkBytes[i]) << "length";
        joined += b.substr(slot + ChunkHeaderSize, row.chunkBytes[i]);
    }
    EXPECT_EQ(joined, row.text);

    spool->seek(1);
    const auto text = spool->read();
    ASSERT_TRUE(text);
    EXPECT_EQ(text->text, row.text);
    EXPECT_EQ(text->valE, 5);
    const auto next = spool->read();
    ASSERT_TRUE(next);
    EXPECT_EQ(int{next->op}, RecNewLine);
}

INSTANTIATE_TEST_SUITE_P(Texts, SpoolChunking, ::testing::ValuesIn(chunkRows), quillet::testing::RowName());

} // namespace
