#include "spool/StaleSpoolSweep.h"

#include "spool/SystemFile.h"
#include "spool/TempDir.h"

namespace quillet {

namespace {

/// A regular file of this user's that no other name holds, old enough for its
/// creator to have locked it.
bool mayBeStale(const std::optional<FileStatus> &status, std::time_t changedBefore)
{
    return status && status->regular && status->ownedByUser && status->links == 1 &&
           status->changed <= changedBefore;
}

void removeIfStale(const SystemFolder &folder, const std::string &name, std::time_t changedBefore)
{
    const std::optional<FileStatus> named = folder.status(name);
    if (!mayBeStale(named, changedBefore))
        return;
    // The name may have been replaced since: by a link, which the open
    // refuses, by a fifo, which it does not wait on, or by any other file,
    // which the open file's own status shows.
    const SystemFile file = folder.open(name);
    const std::optional<FileStatus> opened = file.isOpen() ? file.status() : std::nullopt;
    if (!mayBeStale(opened, changedBefore) || !opened->sameFile(*named))
        return;
    if (file.tryLock() != LockResult::Taken)
        return; // a live listing's, or a file system without locks
    // Another sweep may have removed it meanwhile, and a new spool taken the name.
    folder.remove(name, file);
}

} // namespace

void sweepStaleSpools(const std::filesystem::path &dir, int minimumAgeSeconds) noexcept
{
    const SystemFolder folder(dir);
    if (!folder.isOpen())
        return;
    const std::time_t changedBefore = std::time(nullptr) - minimumAgeSeconds;
    for (const std::string &name : folder.names())
        if (isListingSpoolName(name))
            removeIfStale(folder, name, changedBefore);
}

} // namespace quillet
