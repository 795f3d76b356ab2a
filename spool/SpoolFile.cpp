#include "spool/SpoolFile.h"

#include "spool/SpoolCodec.h"
#include "spool/TempDir.h"

#include <algorithm>
#include <climits>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {

std::unique_ptr<SpoolFile> SpoolFile::create(const std::string &prefix)
{
    SpoolName name = MakeSpoolName(prefix);
    if (name.fd < 0)
        return nullptr;
    return std::unique_ptr<SpoolFile>(new SpoolFile(std::move(name.path), name.fd));
}

std::unique_ptr<SpoolFile> SpoolFile::open(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return nullptr;
    }
    std::unique_ptr<SpoolFile> file(new SpoolFile(path, fd));
    file->m_slots = static_cast<int32_t>(std::min<off_t>(info.st_size / SlotSize, INT32_MAX));
    return file;
}

SpoolFile::~SpoolFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool SpoolFile::write(const SpoolRecord &record)
{
    if (m_fd < 0)
        return false;
    const std::vector<char> bytes = encodeCommand(record);
    const off_t offset = static_cast<off_t>(m_slots) * SlotSize;
    ssize_t written;
    do {
        written = ::pwrite(m_fd, bytes.data(), bytes.size(), offset);
    } while (written < 0 && errno == EINTR);
    if (written != static_cast<ssize_t>(bytes.size())) {
        // A partial write (full disk) must not leave half a command behind.
        if (::ftruncate(m_fd, offset) != 0) {
            // Nothing more to do: the next write starts at the same slot.
        }
        return false;
    }
    m_slots += static_cast<int32_t>(bytes.size() / SlotSize);
    return true;
}

bool SpoolFile::readSlot(int32_t slot, char *into) const
{
    if (m_fd < 0 || slot < 1 || slot > m_slots)
        return false;
    const off_t offset = static_cast<off_t>(slot - 1) * SlotSize;
    return ::pread(m_fd, into, SlotSize, offset) == SlotSize;
}

std::optional<SpoolRecord> SpoolFile::read()
{
    char slot[SlotSize];
    if (!readSlot(m_readSlot, slot))
        return std::nullopt;
    ++m_readSlot;
    DecodedRecord decoded = decodeRecord(std::span<const char, SlotSize>(slot));
    if (decoded.hasText) {
        DecodedChunk chunk;
        do {
            if (!readSlot(m_readSlot, slot))
                break; // a text cut short by the end of the file keeps what was read
            ++m_readSlot;
            chunk = decodeChunk(std::span<const char, SlotSize>(slot));
            decoded.record.text.append(chunk.text);
        } while (chunk.more);
    }
    return std::move(decoded.record);
}

void SpoolFile::remove()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_path.empty())
        ::unlink(m_path.c_str());
    m_slots = 0;
}

} // namespace quillet
