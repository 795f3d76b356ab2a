// The spool file as bytes on disk: where it lives, slot layout, text chunks,
// completeness after every write and behaviour when writes fail.

#include "spool/SpoolFile.h"
#include "spool/TempDir.h"

#include <gtest/gtest.h>

#include <bit>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace quillet;

namespace {

std::string fileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Decoded by hand, little-endian, so the test does not share the codec's assumptions.
uint32_t uintAt(const std::string &bytes, size_t offset, size_t size)
{
    uint32_t value = 0;
    for (size_t i = 0; i < size; ++i)
        value |= uint32_t{static_cast<uint8_t>(bytes.at(offset + i))} << (8 * i);
    return value;
}

int16_t int16At(const std::string &bytes, size_t offset)
{
    return static_cast<int16_t>(uintAt(bytes, offset, 2));
}

float floatAt(const std::string &bytes, size_t offset)
{
    return std::bit_cast<float>(uintAt(bytes, offset, 4));
}

class SpoolFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(spool); }
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
    ASSERT_TRUE(spool->write({258, RecBox, 1.0f, 2.5f, 3.5f, 4.5f, 5.5f, ""}));
    const std::string b = bytes();
    ASSERT_EQ(b.size(), size_t{SlotSize});
    // page, opcode, valA, valC before valB, valD, no text, valE; 1.0f is 0x3F800000, low byte first
    EXPECT_EQ(
        std::make_tuple(int16At(b, 0), uintAt(b, 2, 1), uintAt(b, 3, 4), floatAt(b, 7), floatAt(b, 11),
                        floatAt(b, 15), int16At(b, 19), floatAt(b, 21)),
        std::make_tuple(int16_t{258}, uint32_t{RecBox}, 0x3F800000u, 3.5f, 2.5f, 4.5f, int16_t{0}, 5.5f));
    EXPECT_EQ(b.find_first_not_of('\0', RecordSize), std::string::npos) << "rest of the slot is zero";
}

std::string repeat(std::string_view piece, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += piece;
    return text;
}

// A text is cut into chunks of at most 100 bytes, never inside a character.
TEST_F(SpoolFileTest, StoresTextInChunksAndReadsItBackWhole)
{
    // clang-format off
    const struct {
        const char *name;
        std::string text;
        std::vector<int> chunkBytes;
    } rows[] = {
        {"empty: no chunk, one slot", "", {}},
        {"33 euro signs fill a chunk", repeat("€", 40), {99, 21}},
        {"101: the last byte starts a chunk, the first is exactly 100", repeat("a", 101), {100, 1}},
        {"250: full chunks, then the rest", repeat("a", 250), {100, 100, 50}},
        {"e-acute across the cut is not split", repeat("a", 99) + "é", {99, 2}},
        {"an emoji across the cut is kept whole", repeat("a", 97) + "\xF0\x9F\x98\x80" + "b", {97, 5}},
        {"continuation bytes only are cut anyway", repeat("\x80", 150), {100, 50}},
        {"a lone lead byte at the cut is kept", repeat("a", 99) + "\xC3" + repeat("b", 10), {100, 10}},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        TearDown();
        spool = SpoolFile::create("QuilletSpoolTest-");
        ASSERT_TRUE(spool->write({1, RecTextMulti, 1, 2, 3, 4, 5, row.text}));
        ASSERT_TRUE(spool->write({1, RecNewLine, 9, 0, 0, 0, 0, ""})); // not swallowed by the text

        const std::string b = bytes();
        const size_t chunks = row.chunkBytes.size();
        ASSERT_EQ(b.size(), (chunks + 2) * SlotSize);
        EXPECT_EQ(int16At(b, 19), chunks == 0 ? 0 : -1);
        std::string joined;
        for (size_t i = 0; i < chunks; ++i) {
            const size_t slot = (i + 1) * SlotSize;
            EXPECT_EQ(int16At(b, slot), i + 1 < chunks ? -1 : 0) << "more, chunk " << i;
            EXPECT_EQ(int16At(b, slot + 2), row.chunkBytes[i]) << "length, chunk " << i;
            joined += b.substr(slot + ChunkHeaderSize, row.chunkBytes[i]);
        }
        EXPECT_EQ(joined, row.text);

        spool->seek(1);
        const auto text = spool->read();
        const auto next = spool->read();
        ASSERT_TRUE(text && next);
        EXPECT_EQ(text->text, row.text);
        EXPECT_EQ(next->op, RecNewLine);
        EXPECT_FALSE(spool->read()) << "past the end";
    }
}

TEST_F(SpoolFileTest, FailedWriteLeavesNoPartialCommandAndLaterWritesGoOn)
{
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails, no signal
    rlimit limited = saved;
    limited.rlim_cur = 3 * SlotSize;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    // Nothing is asserted under the limit: a failure message could not be written either.
    const bool results[] = {spool->write({1, RecColor, 1, 0, 0, 0, 0, ""}),
                            spool->write({1, RecTextMulti, 2, 0, 0, 0, 0, std::string(250, 'z')}), // 4 slots
                            spool->write({1, RecNewLine, 3, 0, 0, 0, 0, ""})};
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);

    EXPECT_TRUE(results[0]);
    EXPECT_FALSE(results[1]) << "the text did not fit under the limit";
    EXPECT_TRUE(results[2]) << "the next command takes the slot the failed one left free";
    EXPECT_EQ(std::filesystem::file_size(spool->path()), 2u * SlotSize);
    spool->seek(2);
    const auto second = spool->read();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->op, RecNewLine);
}

/// Sets TMPDIR for one test and puts the old value back.
class ScopedTmpDir {
public:
    explicit ScopedTmpDir(const std::string &value)
    {
        if (const char *old = std::getenv("TMPDIR"))
            m_saved = old;
        setenv("TMPDIR", value.c_str(), 1);
    }
    ~ScopedTmpDir() { m_saved ? setenv("TMPDIR", m_saved->c_str(), 1) : unsetenv("TMPDIR"); }

private:
    std::optional<std::string> m_saved;
};

TEST(SpoolName, TempDirEndsInASlash)
{
    for (const auto &[tmpdir, expected] : {std::pair{"", "/tmp/"}, {"/var/tmp", "/var/tmp/"}, {"/", "/"}}) {
        ScopedTmpDir env(tmpdir);
        EXPECT_EQ(TempDir(), expected) << '"' << tmpdir << '"';
    }
}

TEST(SpoolName, PrtAndTheDayInTempDirPrivateUniqueAndNotInherited)
{
    char pattern[] = "/tmp/quillet-name-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = pattern;
    ScopedTmpDir env(dir);
    const std::time_t now = std::time(nullptr);
    char day[3];
    std::strftime(day, sizeof day, "%d", std::localtime(&now));
    ASSERT_EQ(spoolPrefixForToday(), "Prt" + std::string(day) + "-");

    auto first = SpoolFile::create(spoolPrefixForToday());
    auto second = SpoolFile::create(spoolPrefixForToday());
    ASSERT_TRUE(first && second);
    const std::filesystem::path path = first->path();
    EXPECT_EQ(path.parent_path(), dir);
    EXPECT_EQ(path.filename().string().substr(0, 6), spoolPrefixForToday());
    EXPECT_NE(first->path(), second->path());
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "other users must not read the listing";
    EXPECT_TRUE(fcntl(first->handle(), F_GETFD) & FD_CLOEXEC) << "a print helper must not keep it open";
    first->remove();
    EXPECT_TRUE(std::filesystem::exists(second->path())) << "removing one spool leaves the other";
    second->remove();

    ScopedTmpDir missing(dir + "/does-not-exist");
    EXPECT_EQ(SpoolFile::create(spoolPrefixForToday()), nullptr);
    std::filesystem::remove_all(dir);
}

} // namespace
