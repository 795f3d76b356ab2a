#include "spool/SystemFile.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {

namespace {

int fd(SystemFile::Native native)
{
    return static_cast<int>(native);
}

FileStatus statusFrom(const struct stat &info)
{
    return {S_ISREG(info.st_mode), info.st_uid == ::geteuid(), static_cast<uint64_t>(info.st_nlink),
            info.st_ctime, static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

DIR *dir(void *native)
{
    return static_cast<DIR *>(native);
}

} // namespace

SystemFile SystemFile::createPrivate(const std::filesystem::path &path, bool &nameTaken)
{
    const int created = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    nameTaken = created < 0 && errno == EEXIST;
    return SystemFile(created);
}

SystemFile SystemFile::openForReading(const std::filesystem::path &path)
{
    return SystemFile(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
}

SystemFile SystemFile::duplicate() const
{
    return SystemFile(isOpen() ? ::fcntl(fd(m_native), F_DUPFD_CLOEXEC, 0) : Closed);
}

void SystemFile::close()
{
    if (isOpen())
        ::close(fd(m_native));
    m_native = Closed;
}

int64_t SystemFile::readAt(void *into, size_t size, int64_t offset) const
{
    size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd(m_native), static_cast<char *>(into) + done, size - done,
                                    static_cast<off_t>(offset + static_cast<int64_t>(done)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += static_cast<size_t>(got);
    }
    return static_cast<int64_t>(done);
}

bool SystemFile::writeAt(const void *bytes, size_t size, int64_t offset) const
{
    ssize_t written;
    do
        written = ::pwrite(fd(m_native), bytes, size, static_cast<off_t>(offset));
    while (written < 0 && errno == EINTR);
    return written == static_cast<ssize_t>(size);
}

std::optional<int64_t> SystemFile::size() const
{
    struct stat info {};
    if (::fstat(fd(m_native), &info) != 0)
        return std::nullopt;
    return static_cast<int64_t>(info.st_size);
}

bool SystemFile::truncate(int64_t size) const
{
    return ::ftruncate(fd(m_native), static_cast<off_t>(size)) == 0;
}

bool SystemFile::reserve(int64_t from, int64_t end) const
{
    int error;
    do
        error = ::posix_fallocate(fd(m_native), static_cast<off_t>(from), static_cast<off_t>(end - from));
    while (error == EINTR);
    return error == 0;
}

LockResult SystemFile::tryLock() const
{
    // flock, not fcntl: a fcntl lock goes when any duplicate closes, and
    // readers on other threads close theirs.
    if (::flock(fd(m_native), LOCK_EX | LOCK_NB) == 0)
        return LockResult::Taken;
    return errno == EWOULDBLOCK ? LockResult::HeldElsewhere : LockResult::Unavailable;
}

std::optional<FileStatus> SystemFile::status() const
{
    struct stat info {};
    if (::fstat(fd(m_native), &info) != 0)
        return std::nullopt;
    return statusFrom(info);
}

int64_t SystemFile::mappingGranularity()
{
    static const int64_t size = ::sysconf(_SC_PAGESIZE);
    return size;
}

char *SystemFile::mapWritable(int64_t offset, size_t size) const
{
    void *window = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd(m_native), static_cast<off_t>(offset));
    if (window == MAP_FAILED)
        return nullptr;
    // One call faults the whole window in, writable, instead of a fault per
    // page as appends reach it; where refused, pages fault one by one.
    ::madvise(window, size, MADV_POPULATE_WRITE);
    return static_cast<char *>(window);
}

void SystemFile::unmap(char *window, size_t size)
{
    ::munmap(window, size);
}

SystemFolder::SystemFolder(const std::filesystem::path &path) : m_path(path), m_native(::opendir(path.c_str())) {}

SystemFolder::~SystemFolder()
{
    if (m_native)
        ::closedir(dir(m_native));
}

std::vector<std::string> SystemFolder::names() const
{
    std::vector<std::string> found;
    if (!m_native)
        return found;
    ::rewinddir(dir(m_native));
    while (const dirent *entry = ::readdir(dir(m_native)))
        found.emplace_back(entry->d_name);
    return found;
}

std::optional<FileStatus> SystemFolder::status(const std::string &name) const
{
    struct stat info {};
    if (!m_native || ::fstatat(::dirfd(dir(m_native)), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return statusFrom(info);
}

SystemFile SystemFolder::open(const std::string &name) const
{
    // O_NOFOLLOW refuses a link, O_NONBLOCK keeps a fifo from waiting.
    return SystemFile(m_native ? ::openat(::dirfd(dir(m_native)), name.c_str(),
                                                      O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)
                                           : -1);
}

void SystemFolder::remove(const std::string &name, const SystemFile &opened) const
{
    const std::optional<FileStatus> named = status(name), held = opened.status();
    if (named && held && named->sameFile(*held))
        ::unlinkat(::dirfd(dir(m_native)), name.c_str(), 0);
}

void removeFile(const std::filesystem::path &path)
{
    ::unlink(path.c_str());
}

int localDayOfMonth()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return local.tm_mday;
}

} // namespace quillet
