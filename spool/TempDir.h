#pragma once

#include "spool/SystemFile.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace quillet {

/// The temporary directory the system names ($TMPDIR on POSIX, %TMP% or
/// %TEMP% on Windows, else the system's default); empty when that is not a
/// directory.
std::filesystem::path TempDir();

/// Result of MakeSpoolName: the new file's path (UTF-8) and the file, already
/// created exclusively and private to its owner so nobody can plant a file or
/// link there, and locked until its last handle closes, so the sweep of stale
/// spools knows it is live.
struct SpoolName {
    std::string path;
    SystemFile file; ///< not open when the file could not be created
};

/// Creates a new file named prefix + a unique part (+ ".tmp") in TempDir().
SpoolName MakeSpoolName(const std::string &prefix);

/// Writes size bytes at offset with one call; when not all of them are
/// written (a full disk) cuts the file back to offset and returns false.
bool writeWholeAt(const SystemFile &file, const char *bytes, size_t size, int64_t offset);

/// Closes the file, when open, and deletes the file at path (UTF-8), when named.
void closeAndDelete(SystemFile &file, const std::string &path);

/// "Prt" + day of the month as two digits + "-".
std::string spoolPrefixForToday();

/// Put after a spool's prefix to name its page text index.
inline constexpr char TextIndexTag[] = "txt-";

/// Whether a file name is one MakeSpoolName gives a listing's spool (after
/// spoolPrefixForToday() of any day) or its text index. Letters are compared
/// without case, as file systems that ignore it name the file either way.
bool isListingSpoolName(std::string_view name);

} // namespace quillet
