#include "spool/MappedAppender.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace quillet {

namespace {

/// Room is reserved on disk this much at a time, and mapped this much at a
/// time: few system calls, and few pages mapped at once, which count as the
/// process's memory.
constexpr off_t ReserveStep = off_t{16} << 20;
constexpr off_t WindowSize = off_t{1} << 20;

off_t pageSize()
{
    static const off_t size = ::sysconf(_SC_PAGESIZE);
    return size;
}

} // namespace

MappedAppender::~MappedAppender()
{
    unmap();
    if (m_reserved > m_end) {
        // Should it fail, the file keeps zeros at its end, which readers skip.
        [[maybe_unused]] const int trimmed = ::ftruncate(m_fd, m_end);
    }
}

char *MappedAppender::room(size_t size)
{
    const off_t end = m_end + static_cast<off_t>(size);
    if (!m_window || end > m_windowStart + static_cast<off_t>(m_windowSize)) {
        // A step ahead while the disk has it, then only what each append needs.
        if (end > m_reserved && !reserveUpTo(std::max(end, m_end + ReserveStep)) && !reserveUpTo(end))
            return nullptr;
        if (!mapFrom(m_end, end))
            return nullptr;
    }
    return m_window + (m_end - m_windowStart);
}

bool MappedAppender::reserveUpTo(off_t end)
{
    // Blocks reserved now cannot run out when the mapping is written later,
    // which would raise SIGBUS instead of a failed append.
    int error;
    do
        error = ::posix_fallocate(m_fd, m_reserved, end - m_reserved);
    while (error == EINTR);
    if (error != 0)
        return false;
    m_reserved = end;
    return true;
}

bool MappedAppender::mapFrom(off_t offset, off_t end)
{
    unmap();
    const off_t start = offset - offset % pageSize();
    const auto size = static_cast<size_t>(std::min(m_reserved, std::max(end, start + WindowSize)) - start);
    void *window = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, m_fd, start);
    if (window == MAP_FAILED)
        return false;
    // One call faults the whole window in, writable, instead of a fault per
    // page as appends reach it; where refused, pages fault one by one.
    ::madvise(window, size, MADV_POPULATE_WRITE);
    m_window = static_cast<char *>(window);
    m_windowStart = start;
    m_windowSize = size;
    return true;
}

void MappedAppender::unmap()
{
    if (m_window)
        ::munmap(m_window, m_windowSize);
    m_window = nullptr;
}

} // namespace quillet
