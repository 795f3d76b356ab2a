#include "spool/StaleSpoolSweep.h"

#include "spool/FileDescriptor.h"
#include "spool/TempDir.h"

#include <ctime>
#include <dirent.h>
#include <sys/file.h>
#include <sys/stat.h>

namespace quillet {

namespace {

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

/// A regular file of this user's that no other name holds, old enough for its
/// creator to have locked it.
bool mayBeStale(const struct stat &info, std::time_t changedBefore)
{
    return S_ISREG(info.st_mode) && info.st_uid == ::geteuid() && info.st_nlink == 1 &&
           info.st_ctime <= changedBefore;
}

void removeIfStale(int dir, const char *name, std::time_t changedBefore)
{
    struct stat named {};
    if (::fstatat(dir, name, &named, AT_SYMLINK_NOFOLLOW) != 0 || !mayBeStale(named, changedBefore))
        return;
    // The name may have been replaced since: by a link, which O_NOFOLLOW
    // refuses, by a fifo, whose open O_NONBLOCK keeps from waiting, or by
    // any other file, which the descriptor's own status shows.
    const FileDescriptor file(::openat(dir, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat opened {};
    if (!file.isOpen() || ::fstat(file.get(), &opened) != 0 || !sameFile(opened, named) ||
        !mayBeStale(opened, changedBefore))
        return;
    if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0)
        return; // a live listing's, or a file system without locks
    // Another sweep may have removed it meanwhile, and a new spool taken the name.
    struct stat now {};
    if (::fstatat(dir, name, &now, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(now, opened))
        ::unlinkat(dir, name, 0);
}

} // namespace

void sweepStaleSpools(const std::string &dir, int minimumAgeSeconds) noexcept
{
    DIR *entries = ::opendir(dir.c_str());
    if (!entries)
        return;
    const std::time_t changedBefore = std::time(nullptr) - minimumAgeSeconds;
    while (const dirent *entry = ::readdir(entries))
        if (isListingSpoolName(entry->d_name))
            removeIfStale(::dirfd(entries), entry->d_name, changedBefore);
    ::closedir(entries);
}

} // namespace quillet
