#pragma once

#include "spool/FileDescriptor.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace quillet {

/// The temporary directory, ending in "/": $TMPDIR, or /tmp when unset or empty.
std::string TempDir();

/// Result of MakeSpoolName: the new file's path and its descriptor, already
/// created exclusively with mode 0600 so nobody can plant a file or link there,
/// and locked (flock) until the last descriptor of it closes, so the sweep of
/// stale spools knows it is live.
struct SpoolName {
    std::string path;
    int fd = -1; ///< -1 when the file could not be created
};

/// Creates a new file named prefix + a unique part (+ ".tmp") in TempDir().
SpoolName MakeSpoolName(const std::string &prefix);

/// Writes size bytes at offset with one call; when not all of them are
/// written (a full disk) cuts the file back to offset and returns false.
bool writeWholeAt(int fd, const char *bytes, size_t size, off_t offset);

/// Closes the file, when open, and deletes the file at path, when named.
void closeAndDelete(FileDescriptor &file, const std::string &path);

/// "Prt" + day of the month as two digits + "-".
std::string spoolPrefixForToday();

/// Put after a spool's prefix to name its page text index.
inline constexpr char TextIndexTag[] = "txt-";

/// Whether a file name is one MakeSpoolName gives a listing's spool (after
/// spoolPrefixForToday() of any day) or its text index.
bool isListingSpoolName(std::string_view name);

} // namespace quillet
