#include "spool/MappedAppender.h"

#include <algorithm>

namespace quillet {

namespace {

/// Room is reserved on disk this much at a time, and mapped this much at a
/// time: few system calls, and few pages mapped at once, which count as the
/// process's memory.
constexpr int64_t ReserveStep = int64_t{16} << 20;
constexpr int64_t WindowSize = int64_t{1} << 20;

} // namespace

MappedAppender::~MappedAppender()
{
    unmap(); // first: Windows does not cut a file while a view of it is mapped
    if (m_reserved > m_end) {
        // Should it fail, the file keeps zeros at its end, which readers skip.
        m_file.truncate(m_end);
    }
}

char *MappedAppender::room(size_t size)
{
    const int64_t end = m_end + static_cast<int64_t>(size);
    if (!m_window || end > m_windowStart + static_cast<int64_t>(m_windowSize)) {
        // A step ahead while the disk has it, then only what each append needs.
        if (end > m_reserved && !reserveUpTo(std::max(end, m_end + ReserveStep)) && !reserveUpTo(end))
            return nullptr;
        if (!mapFrom(m_end, end))
            return nullptr;
    }
    return m_window + (m_end - m_windowStart);
}

bool MappedAppender::reserveUpTo(int64_t end)
{
    // Blocks reserved now cannot run out when the mapping is written later,
    // which would raise SIGBUS instead of a failed append.
    if (!m_file.reserve(m_reserved, end))
        return false;
    m_reserved = end;
    return true;
}

bool MappedAppender::mapFrom(int64_t offset, int64_t end)
{
    unmap();
    const int64_t start = offset - offset % SystemFile::mappingGranularity();
    const auto size = static_cast<size_t>(std::min(m_reserved, std::max(end, start + WindowSize)) - start);
    m_window = m_file.mapWritable(start, size);
    if (!m_window)
        return false;
    m_windowStart = start;
    m_windowSize = size;
    return true;
}

void MappedAppender::unmap()
{
    if (m_window)
        SystemFile::unmap(m_window, m_windowSize);
    m_window = nullptr;
}

} // namespace quillet
