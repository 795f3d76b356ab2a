#pragma once
// Appends to a file through a shared mapping of room reserved ahead on disk,
// so an append is a copy into memory, not a system call. What is written into
// the mapping is in the page cache at once, where any read of the file finds
// it. The room past the last append reads as zeros until the appender goes,
// which cuts the file back to what was appended.

#include "spool/SystemFile.h"

#include <cstddef>
#include <cstdint>

namespace quillet {

class MappedAppender {
public:
    /// Appends to the open file (read and write) after its first end
    /// bytes; the file must outlive the appender.
    MappedAppender(const SystemFile &file, int64_t end) : m_file(file), m_end(end), m_reserved(end) {}
    ~MappedAppender();
    MappedAppender(const MappedAppender &) = delete;
    MappedAppender &operator=(const MappedAppender &) = delete;

    /// Where the next size bytes go, zero-filled; nullptr when the room for
    /// them cannot be reserved on disk (a full disk) or mapped.
    char *room(size_t size);
    /// Makes size bytes written at room() part of the file.
    void advance(size_t size) { m_end += static_cast<int64_t>(size); }

private:
    bool reserveUpTo(int64_t end);
    /// Maps the reserved room from offset on, at least up to end.
    bool mapFrom(int64_t offset, int64_t end);
    void unmap();

    const SystemFile &m_file;
    int64_t m_end;      ///< bytes appended
    int64_t m_reserved; ///< bytes reserved on disk, the file's size
    char *m_window = nullptr;
    int64_t m_windowStart = 0;
    size_t m_windowSize = 0;
};

} // namespace quillet
