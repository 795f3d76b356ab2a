#include "spool/TempDir.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace quillet {

namespace {

constexpr char ListingStem[] = "Prt";
constexpr std::string_view SpoolSuffix = ".tmp";
/// The characters mkostemps puts in place of its six X.
constexpr size_t UniqueLength = 6;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isUniqueCharacter(char c)
{
    return isDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

std::string TempDir()
{
    const char *env = std::getenv("TMPDIR");
    std::string dir = env && *env ? env : "/tmp";
    if (dir.back() != '/')
        dir += '/';
    return dir;
}

SpoolName MakeSpoolName(const std::string &prefix)
{
    std::string path = TempDir() + prefix + std::string(UniqueLength, 'X') + std::string(SpoolSuffix);
    std::vector<char> buffer(path.begin(), path.end());
    buffer.push_back('\0');
    // Created with O_CREAT | O_EXCL and mode 0600; not inherited by the print spooler's children.
    const int fd = mkostemps(buffer.data(), static_cast<int>(SpoolSuffix.size()), O_CLOEXEC);
    if (fd < 0)
        return {};
    // flock, not fcntl: a fcntl lock goes when any duplicate closes, and
    // readers on other threads close theirs. Where the file system has no
    // locks, no sweep can take one either, so the file is safe unlocked.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        // A sweep took it for stale after a stall longer than its age rule and unlinks it.
        ::close(fd);
        return {};
    }
    return {std::string(buffer.data()), fd};
}

bool writeWholeAt(int fd, const char *bytes, size_t size, off_t offset)
{
    ssize_t written;
    do {
        written = ::pwrite(fd, bytes, size, offset);
    } while (written < 0 && errno == EINTR);
    if (written == static_cast<ssize_t>(size))
        return true;
    // No half record stays behind; should truncating fail too, the caller
    // still writes its next record at offset.
    [[maybe_unused]] const int truncated = ::ftruncate(fd, offset);
    return false;
}

void closeAndDelete(FileDescriptor &file, const std::string &path)
{
    file.reset();
    if (!path.empty())
        ::unlink(path.c_str());
}

std::string spoolPrefixForToday()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%s%02d-", ListingStem, local.tm_mday);
    return prefix;
}

bool isListingSpoolName(std::string_view name)
{
    const std::string_view stem = ListingStem;
    if (!name.starts_with(stem) || name.size() < stem.size() + 3)
        return false;
    name.remove_prefix(stem.size());
    if (!isDigit(name[0]) || !isDigit(name[1]) || name[2] != '-')
        return false;
    name.remove_prefix(3);
    if (name.starts_with(TextIndexTag))
        name.remove_prefix(std::string_view(TextIndexTag).size());
    return name.size() == UniqueLength + SpoolSuffix.size() && name.ends_with(SpoolSuffix) &&
           std::all_of(name.begin(), name.begin() + UniqueLength, isUniqueCharacter);
}

} // namespace quillet
