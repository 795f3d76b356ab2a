#pragma once
// Removes what hosts that crashed while composing left in the temporary
// directory: spool files and text indexes, with room reserved on disk, that
// no live listing holds. A live listing's files are locked (MakeSpoolName)
// until their last handle closes, which a crash does too.

#include <filesystem>

namespace quillet {

/// A file is locked only just after it is created: younger ones are left alone.
inline constexpr int StaleSpoolMinimumAgeSeconds = 10;

/// Removes from dir this user's spools and text indexes whose
/// lock it can take, when their status changed at least minimumAgeSeconds ago.
/// Only regular files with one link and a listing's name are touched, never
/// through a symbolic link; what cannot be checked is left. Never fails.
void sweepStaleSpools(const std::filesystem::path &dir, int minimumAgeSeconds = StaleSpoolMinimumAgeSeconds) noexcept;

} // namespace quillet
