#include "spool/SpoolFile.h"

#include "spool/SpoolCodec.h"
#include "spool/TempDir.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {

std::unique_ptr<SpoolFile> SpoolFile::create(const std::string &prefix)
{
    SpoolName name = MakeSpoolName(prefix);
    if (name.fd < 0)
        return nullptr;
    std::unique_ptr<SpoolFile> file(new SpoolFile(std::move(name.path), name.fd));
    file->m_texts = PageTextIndex::create(prefix + "txt-");
    return file;
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
    if (!writeWholeAt(m_fd, bytes.data(), bytes.size(), offset))
        return false;
    m_slots += static_cast<int32_t>(bytes.size() / SlotSize);
    return true;
}

bool SpoolFile::readSlot(int32_t slot, char *into) const
{
    if (m_fd < 0 || slot < 1 || slot > m_slots)
        return false;
    if (slot < m_readAheadFirst || slot >= m_readAheadFirst + m_readAheadCount) {
        constexpr int32_t ReadAheadSlots = 256;
        const int32_t count = std::min(ReadAheadSlots, m_slots - slot + 1);
        m_readAhead.resize(static_cast<size_t>(ReadAheadSlots) * SlotSize);
        const ssize_t got = ::pread(m_fd, m_readAhead.data(), static_cast<size_t>(count) * SlotSize,
                                    static_cast<off_t>(slot - 1) * SlotSize);
        m_readAheadFirst = slot;
        m_readAheadCount = got > 0 ? static_cast<int32_t>(got / SlotSize) : 0;
        if (m_readAheadCount == 0)
            return false;
    }
    std::memcpy(into, m_readAhead.data() + static_cast<size_t>(slot - m_readAheadFirst) * SlotSize, SlotSize);
    return true;
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
    closeAndDelete(m_fd, m_path);
    if (m_texts) {
        m_texts->remove();
        m_texts.reset();
    }
    m_slots = 0;
    m_readAheadCount = 0;
}

} // namespace quillet
