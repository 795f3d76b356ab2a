#include "spool/PageTextIndex.h"

#include "spool/SpoolRecord.h"
#include "spool/TempDir.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace quillet {

namespace {

struct RecordHeader {
    int32_t page;
    uint32_t bytes;
};

/// Bytes read at a time: a few hundred pages of texts.
constexpr size_t ReadChunkBytes = 1 << 20;
/// A byte count above this means a damaged file, not a page of text.
constexpr uint32_t MaxPageBytes = 1u << 30;

} // namespace

bool isTextCommand(uint8_t op)
{
    switch (op) {
    case RecTextLeft:
    case RecTextRight:
    case RecColLeft:
    case RecColRight:
    case RecTextCenter:
    case RecColCenter:
    case RecTextMulti:
        return true;
    default:
        return false;
    }
}

std::unique_ptr<PageTextIndex> PageTextIndex::create(const std::string &prefix)
{
    SpoolName name = MakeSpoolName(prefix);
    if (name.fd < 0)
        return nullptr;
    return std::unique_ptr<PageTextIndex>(new PageTextIndex(std::move(name.path), name.fd));
}

PageTextIndex::~PageTextIndex()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void PageTextIndex::add(int page, std::string_view text)
{
    if (page != m_page) {
        flush();
        m_page = page;
    }
    if (!text.empty() && !m_broken) {
        m_held.append(text);
        m_held.push_back('\0');
    }
}

void PageTextIndex::flush()
{
    if (m_broken || m_fd < 0)
        return;
    if (!m_held.empty()) {
        const RecordHeader header{m_page, static_cast<uint32_t>(m_held.size())};
        m_held.insert(0, reinterpret_cast<const char *>(&header), sizeof header);
        if (!writeWholeAt(m_fd, m_held.data(), m_held.size(), m_bytes)) {
            // Nothing more is written, so the pages after the last complete one stay unknown.
            m_broken = true;
            m_held = std::string();
            return;
        }
        m_bytes += static_cast<int64_t>(m_held.size());
        m_held.clear();
    }
    m_completePages = m_page;
}

bool PageTextIndex::readPages(const std::string &path, const PageVisitor &visit)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    std::vector<char> buffer(ReadChunkBytes);
    size_t start = 0, end = 0;
    bool intact = true;
    for (;;) {
        size_t needed = sizeof(RecordHeader);
        while (end - start >= sizeof(RecordHeader)) {
            RecordHeader header;
            std::memcpy(&header, buffer.data() + start, sizeof header);
            if (header.bytes > MaxPageBytes) {
                intact = false;
                break;
            }
            needed = sizeof header + header.bytes;
            if (end - start < needed)
                break;
            if (!visit(header.page, std::string_view(buffer.data() + start + sizeof header, header.bytes))) {
                ::close(fd);
                return true;
            }
            start += needed;
            needed = sizeof(RecordHeader);
        }
        if (!intact)
            break;
        std::memmove(buffer.data(), buffer.data() + start, end - start);
        end -= start;
        start = 0;
        if (buffer.size() < needed)
            buffer.resize(needed);
        ssize_t got;
        do {
            got = ::read(fd, buffer.data() + end, buffer.size() - end);
        } while (got < 0 && errno == EINTR);
        if (got <= 0) {
            intact = got == 0 && end == 0; // a partial record at the end is damage
            break;
        }
        end += static_cast<size_t>(got);
    }
    ::close(fd);
    return intact;
}

void PageTextIndex::remove()
{
    closeAndDelete(m_fd, m_path);
    m_held = std::string();
}

} // namespace quillet
