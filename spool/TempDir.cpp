#include "spool/TempDir.h"

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
    static constexpr char suffix[] = ".tmp";
    std::string path = TempDir() + prefix + "XXXXXX" + suffix;
    std::vector<char> buffer(path.begin(), path.end());
    buffer.push_back('\0');
    // Created with O_CREAT | O_EXCL and mode 0600; not inherited by the print spooler's children.
    const int fd = mkostemps(buffer.data(), sizeof suffix - 1, O_CLOEXEC);
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
    std::snprintf(prefix, sizeof prefix, "Prt%02d-", local.tm_mday);
    return prefix;
}

} // namespace quillet
