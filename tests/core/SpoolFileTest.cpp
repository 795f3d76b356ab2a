// The spool file on disk, the page text index beside it, and the file layer
// under them on the system it was built for. The spool's name, place and mode
// are checked on a live listing in lifecycle_test.

#include "spool/SpoolFile.h"
#include "spool/MappedAppender.h"
#include "spool/PageTrigrams.h"
#include "spool/TempDir.h"

#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#ifdef _WIN32
#include <windows.h>

#include <aclapi.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>
#endif

using namespace quillet;
namespace fs = std::filesystem;

namespace {

int16_t int16At(const std::string &bytes, size_t offset)
{
    return static_cast<int16_t>(uint8_t(bytes.at(offset)) | uint8_t(bytes.at(offset + 1)) << 8);
}

using Pages = std::vector<std::pair<int, std::string>>;

Pages readBack(const PageTextIndex &index, bool *intact = nullptr)
{
    Pages pages;
    const bool read = index.reader().readPages([&](const IndexedPage &page) {
        EXPECT_EQ(page.characters, charactersBeyondAscii(page.texts));
        EXPECT_EQ(page.trigrams, bytesOf(trigramsOf(page.texts)));
        pages.emplace_back(page.page, std::string(page.texts));
        return true;
    });
    if (intact)
        *intact = read;
    return pages;
}

class SpoolFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(spool); }
    void TearDown() override { spool->remove(); }
    /// The slots written so far, as a diagnostic reading the file by name
    /// finds them: the room reserved after them must be all zero.
    std::string bytes() const
    {
        // Opened as the component does: Windows lets no other open beside its delete-on-close.
        const SystemFile opened = SystemFile::openForReading(pathFromUtf8(spool->path()));
        std::string file(static_cast<size_t>(opened.size().value_or(0)), '\0');
        file.resize(static_cast<size_t>(std::max<int64_t>(opened.readAt(file.data(), file.size(), 0), 0)));
        const auto reopened = SpoolFile::open(spool->path());
        const size_t written = reopened ? static_cast<size_t>(reopened->lastSlot()) * SlotSize : 0;
        EXPECT_EQ(file.find_first_not_of('\0', written), std::string::npos);
        return file.substr(0, written);
    }

    std::unique_ptr<SpoolFile> spool = SpoolFile::create("QuilletSpoolTest-");
};

TEST_F(SpoolFileTest, RecordFieldsSitAtTheirOffsetsWithValCBeforeValB)
{
    ASSERT_TRUE(spool->write({258, RecBox, 1.0f, 2.5f, 3.5f, 4.5f, 5.5f, ""}));
    ASSERT_TRUE(spool->write({})); // all fields zero: still a slot written
    // Little-endian floats written out by hand, so the test does not share the codec's assumptions.
    const std::string record("\x02\x01\x02"
                             "\x00\x00\x80\x3F"  // valA 1.0
                             "\x00\x00\x60\x40"  // valC 3.5
                             "\x00\x00\x20\x40"  // valB 2.5
                             "\x00\x00\x90\x40"  // valD 4.5
                             "\x00\x00"          // no text
                             "\x00\x00\xB0\x40", // valE 5.5
                             RecordSize);
    const std::string b = bytes();
    ASSERT_EQ(b.size(), 2u * SlotSize);
    EXPECT_EQ(b.substr(0, RecordSize), record);
    EXPECT_EQ(b.substr(SlotSize, RecordSize), std::string(RecordSize, '\0'));
}

// At most 100 bytes a chunk, never cut inside a character.
TEST_F(SpoolFileTest, StoresTextInChunksAndReadsItBackWhole)
{
    // clang-format off
    const struct { const char *name; std::string text; std::vector<int> chunkBytes; } rows[] = {
        {"empty", "", {}},
        {"exactly 100", std::string(100, 'a'), {100}},
        {"101", std::string(101, 'a'), {100, 1}},
        {"e-acute across the cut", std::string(99, 'a') + "é", {99, 2}},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        TearDown();
        spool = SpoolFile::create("QuilletSpoolTest-");
        ASSERT_TRUE(spool->write({1, RecTextMulti, 1, 2, 3, 4, 5, row.text}));
        ASSERT_TRUE(spool->write({1, RecNewLine, 9, 0, 0, 0, 0, ""}));

        const std::string b = bytes();
        const size_t chunks = row.chunkBytes.size();
        ASSERT_EQ(b.size(), (chunks + 2) * SlotSize);
        for (size_t i = 0; i < chunks; ++i) {
            EXPECT_EQ(int16At(b, (i + 1) * SlotSize), i + 1 < chunks ? -1 : 0) << "more, chunk " << i;
            EXPECT_EQ(int16At(b, (i + 1) * SlotSize + 2), row.chunkBytes[i]) << "length, chunk " << i;
        }
        spool->seek(1);
        const auto text = spool->read();
        const auto next = spool->read();
        ASSERT_TRUE(text && next);
        EXPECT_EQ(text->text, row.text);
        EXPECT_EQ(next->op, RecNewLine);
    }
}

// Nothing more is written, and what was written before still reads.
TEST_F(SpoolFileTest, AFullDiskLeavesNoPartialCommandOrPageAndLaterSpoolWritesGoOn)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no limit on a process's file size to stand for a full disk";
#else
    PageTextIndex &index = *spool->texts();
    index.add(1, "curto");
    index.flush();
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails, no signal
    rlimit limited = saved;
    limited.rlim_cur = 3 * SlotSize;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    // Nothing is asserted under the limit: a failure message could not be written either.
    const std::vector<bool> results = {
        spool->write({1, RecColor, 1, 0, 0, 0, 0, ""}),
        spool->write({1, RecTextMulti, 2, 0, 0, 0, 0, std::string(250, 'z')}), // 4 slots
        spool->write({1, RecNewLine, 3, 0, 0, 0, 0, ""})};
    index.add(2, std::string(4000, 'x')); // pages 2 to 4 do not fit
    index.add(3, "três");
    index.add(4, "quatro");
    index.flush();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);

    EXPECT_EQ(results, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(bytes().size(), 2u * SlotSize);
    spool->seek(2);
    const auto second = spool->read();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->op, RecNewLine);
    EXPECT_EQ(index.completePages(), 1);
    bool intact = false;
    EXPECT_EQ(readBack(index, &intact), (Pages{{1, std::string("curto\0", 6)}}));
    EXPECT_TRUE(intact);
#endif
}

TEST_F(SpoolFileTest, TheTextIndexIsPrivateAndKeepsPagesInOrder)
{
    PageTextIndex &index = *spool->texts();
#ifndef _WIN32 // Windows' owner-only access list is read back in SystemFileTest
    struct stat info {};
    ASSERT_EQ(::stat(index.path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
#endif
    index.add(1, "Página 1");
    index.add(1, "");
    index.add(2, ""); // a page without texts writes nothing but is known
    index.add(3, "três");
    index.flush(); // on demand, mid-page
    EXPECT_EQ(index.completePages(), 3);
    using namespace std::string_literals;
    EXPECT_EQ(readBack(index), (Pages{{1, "Página 1\0"s}, {3, "três\0"s}}));
}

TEST(PageTextIndex, NamesTheRangesOfCharactersBeyondAscii)
{
    // clang-format off
    const struct { const char *reason, *text; uint8_t characters; } rows[] = {
        {"ASCII only, longer than a word", "Total a pagar em euros", 0},
        {"a sign of Latin-1", "n\u00ba 7", LatinSigns},
        {"a capital, and sharp s beside them", "\u00c7 \u00df", LatinCapitals},
        {"small letters after eight ASCII bytes", "Descri\u00e7\u00e3o", LatinSmall},
        {"a combining mark", "a\u0301", BeyondLatin},
        {"a lead byte cut short", "ab\xc3", BeyondLatin},
        {"a Latin-1 lead without its continuation", "\xc3(", BeyondLatin},
    };
    // clang-format on
    for (const auto &row : rows)
        EXPECT_EQ(charactersBeyondAscii(row.text), row.characters) << row.reason;
}

/// Whether only the file's owner may open it: mode 0600, or an access list
/// that allows its owner alone (and the system's account).
bool privateToOwner(const SystemFile &file, const std::string &path)
{
#ifdef _WIN32
    (void)path;
    PSID owner = nullptr;
    PACL access = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(reinterpret_cast<HANDLE>(file.native()), SE_FILE_OBJECT,
                        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr, &access,
                        nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    // The system's own account may open every file anyway; Wine lists it.
    char system[SECURITY_MAX_SID_SIZE];
    DWORD systemSize = sizeof system;
    CreateWellKnownSid(WinLocalSystemSid, nullptr, system, &systemSize);
    bool onlyOwner = access && access->AceCount > 0;
    for (DWORD i = 0; onlyOwner && i < access->AceCount; ++i) {
        void *ace = nullptr;
        onlyOwner =
            GetAce(access, i, &ace) && static_cast<ACE_HEADER *>(ace)->AceType == ACCESS_ALLOWED_ACE_TYPE;
        if (onlyOwner) {
            PSID allowed = &static_cast<ACCESS_ALLOWED_ACE *>(ace)->SidStart;
            onlyOwner = EqualSid(allowed, owner) || EqualSid(allowed, system);
        }
    }
    LocalFree(descriptor);
    return onlyOwner;
#else
    (void)file;
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & 0777) == 0600;
#endif
}

TEST(SystemFileTest, ASpoolFileIsPrivateReadsBackMappedAppendsIsLockedWhileOpenAndGoneWhenDone)
{
    const TemporaryFolder folder;
    SpoolName name = MakeSpoolName(spoolPrefixForToday());
    ASSERT_TRUE(name.file.isOpen());
    EXPECT_TRUE(fs::equivalent(pathFromUtf8(name.path).parent_path(), folder.path()));
    const std::optional<FileStatus> status = name.file.status();
    ASSERT_TRUE(status);
    EXPECT_TRUE(status->regular && status->ownedByUser);
    EXPECT_TRUE(privateToOwner(name.file, name.path));

    SystemFile duplicate = name.file.duplicate();
    std::string written;
    {
        MappedAppender appender(name.file, 0);
        // Sizes that put windows off every boundary, past several windows and a step of reserved room.
        for (int i = 0; written.size() < (17u << 20); ++i) {
            const std::string piece(1000 + static_cast<size_t>(i % 7) * 4099,
                                    static_cast<char>('a' + i % 26));
            char *room = appender.room(piece.size());
            ASSERT_NE(room, nullptr);
            std::copy(piece.begin(), piece.end(), room);
            appender.advance(piece.size());
            written += piece;
        }
        std::string seen(written.size(), '\0');
        EXPECT_EQ(duplicate.readAt(seen.data(), seen.size(), 0), static_cast<int64_t>(written.size()));
        EXPECT_TRUE(seen == written);
    }
    EXPECT_EQ(duplicate.size(), static_cast<int64_t>(written.size())) << "the room ahead is cut";

    SystemFile other = SystemFile::openForReading(pathFromUtf8(name.path));
    ASSERT_TRUE(other.isOpen());
    EXPECT_EQ(other.tryLock(), LockResult::HeldElsewhere);
    name.file.close();
    EXPECT_EQ(other.tryLock(), LockResult::HeldElsewhere) << "a duplicate holds the same lock";
    duplicate.close();
    EXPECT_EQ(other.tryLock(), LockResult::Taken);
    other.close();
#ifdef _WIN32
    EXPECT_FALSE(fs::exists(pathFromUtf8(name.path))) << "deleted with its last handle, even after a crash";
#else
    EXPECT_TRUE(fs::exists(pathFromUtf8(name.path)));
    closeAndDelete(name.file, name.path);
    EXPECT_FALSE(fs::exists(pathFromUtf8(name.path)));
#endif
}

} // namespace
