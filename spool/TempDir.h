#pragma once

#include <string>

namespace quillet {

/// The temporary directory, ending in "/": $TMPDIR, or /tmp when unset or empty.
std::string TempDir();

/// Result of MakeSpoolName: the new file's path and its descriptor, already
/// created exclusively with mode 0600 so nobody can plant a file or link there.
struct SpoolName {
    std::string path;
    int fd = -1; ///< -1 when the file could not be created
};

/// Creates a new file named prefix + a unique part (+ ".tmp") in TempDir().
SpoolName MakeSpoolName(const std::string &prefix);

/// "Prt" + day of the month as two digits + "-".
std::string spoolPrefixForToday();

} // namespace quillet
