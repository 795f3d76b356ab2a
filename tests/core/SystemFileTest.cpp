// The core's file layer on the system it was built for: a spool's file is
// private, locked while any handle of it is open, and gone when done; what is
// appended through mapped windows reads back through another handle.

#include "spool/MappedAppender.h"
#include "spool/TempDir.h"

#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#ifdef _WIN32
#include <windows.h>

#include <aclapi.h>
#else
#include <sys/stat.h>
#endif

using namespace quillet;
namespace fs = std::filesystem;

namespace {

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
                        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr, &access, nullptr,
                        &descriptor) != ERROR_SUCCESS)
        return false;
    // The system's own account may open every file anyway; Wine lists it.
    char system[SECURITY_MAX_SID_SIZE];
    DWORD systemSize = sizeof system;
    CreateWellKnownSid(WinLocalSystemSid, nullptr, system, &systemSize);
    bool onlyOwner = access && access->AceCount > 0;
    for (DWORD i = 0; onlyOwner && i < access->AceCount; ++i) {
        void *ace = nullptr;
        onlyOwner = GetAce(access, i, &ace) && static_cast<ACE_HEADER *>(ace)->AceType == ACCESS_ALLOWED_ACE_TYPE;
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

TEST(SystemFileTest, ASpoolFileIsPrivateLockedWhileAnyHandleIsOpenAndGoneWhenDone)
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

TEST(SystemFileTest, AppendsThroughMappedWindowsReadBackThroughADuplicateAndTheRoomAheadIsCut)
{
    const TemporaryFolder folder;
    SpoolName name = MakeSpoolName("QuilletSystemFileTest-");
    ASSERT_TRUE(name.file.isOpen());
    const SystemFile reader = name.file.duplicate();
    std::string written;
    {
        MappedAppender appender(name.file, 0);
        // Sizes that put windows off every boundary, past several windows and a step of reserved room.
        for (int i = 0; written.size() < (17u << 20); ++i) {
            const std::string piece(1000 + static_cast<size_t>(i % 7) * 4099, static_cast<char>('a' + i % 26));
            char *room = appender.room(piece.size());
            ASSERT_NE(room, nullptr);
            std::copy(piece.begin(), piece.end(), room);
            appender.advance(piece.size());
            written += piece;
        }
        std::string seen(written.size(), '\0');
        EXPECT_EQ(reader.readAt(seen.data(), seen.size(), 0), static_cast<int64_t>(written.size()));
        EXPECT_TRUE(seen == written);
    }
    EXPECT_EQ(reader.size(), static_cast<int64_t>(written.size()));
    closeAndDelete(name.file, name.path);
}

} // namespace
