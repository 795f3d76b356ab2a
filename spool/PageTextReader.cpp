#include "spool/PageTextReader.h"

#include "spool/PageTextIndex.h"

#include <algorithm>
#include <cstring>

#include <sys/mman.h>
#include <sys/stat.h>

namespace quillet {

namespace {

/// Bytes mapped at a time: a few thousand pages of texts. Mapped pages count
/// in the process's resident memory, so the index is never mapped whole.
constexpr int64_t WindowBytes = int64_t(8) << 20;

/// Part of an open file, mapped read-only; empty when it cannot be.
class MappedBytes {
public:
    MappedBytes(int fd, int64_t offset, int64_t bytes)
    {
        void *at = ::mmap(nullptr, static_cast<size_t>(bytes), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, offset);
        if (at != MAP_FAILED)
            m_bytes = std::string_view(static_cast<const char *>(at), static_cast<size_t>(bytes));
    }
    ~MappedBytes()
    {
        if (!m_bytes.empty())
            ::munmap(const_cast<char *>(m_bytes.data()), m_bytes.size());
    }
    MappedBytes(const MappedBytes &) = delete;
    MappedBytes &operator=(const MappedBytes &) = delete;

    std::string_view bytes() const { return m_bytes; }

private:
    std::string_view m_bytes;
};

} // namespace

bool PageTextReader::readPages(const PageVisitor &visit) const
{
    if (!m_file.isOpen())
        return false;
    // Mapped bytes past the file's end fault: a file cut short is damage, told
    // before it is touched. Only this process writes the index, through its
    // own descriptor, so it cannot shrink while it is read.
    struct stat file {};
    if (::fstat(m_file.get(), &file) != 0 || file.st_size < m_bytes)
        return false;
    const int64_t pageBytes = ::sysconf(_SC_PAGESIZE);
    int64_t at = 0; // where the next record starts
    while (at < m_bytes) {
        // A window starts on a memory page and holds at least one whole record header.
        const int64_t windowAt = at / pageBytes * pageBytes;
        int64_t windowBytes = std::min(WindowBytes, m_bytes - windowAt);
        PageTextRecordHeader header;
        if (m_bytes - at < static_cast<int64_t>(sizeof header))
            return false;
        if (::pread(m_file.get(), &header, sizeof header, at) != static_cast<ssize_t>(sizeof header))
            return false;
        const int64_t recordEnd = at + static_cast<int64_t>(sizeof header) + header.bytes;
        if (recordEnd > m_bytes)
            return false; // a byte count past what was written is damage
        windowBytes = std::max(windowBytes, recordEnd - windowAt);
        const MappedBytes window(m_file.get(), windowAt, windowBytes);
        std::string_view rest = window.bytes().substr(std::min<size_t>(window.bytes().size(), at - windowAt));
        if (rest.empty())
            return false;
        // Every record that lies whole in the window; the next window starts at the first that does not.
        while (rest.size() >= sizeof header) {
            std::memcpy(&header, rest.data(), sizeof header);
            if (header.bytes > rest.size() - sizeof header)
                break;
            if (!visit(header.page, rest.substr(sizeof header, header.bytes)))
                return true;
            rest.remove_prefix(sizeof header + header.bytes);
            at += static_cast<int64_t>(sizeof header + header.bytes);
        }
    }
    return true;
}

} // namespace quillet
