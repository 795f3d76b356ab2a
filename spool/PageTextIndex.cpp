#include "spool/PageTextIndex.h"

#include "spool/PageMarkers.h"
#include "spool/SpoolRecord.h"
#include "spool/TempDir.h"

namespace quillet {

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

void PageTextIndex::add(int page, std::string_view text)
{
    if (page != m_page) {
        flush();
        m_page = page;
        m_pageNumber = std::to_string(page);
    }
    if (!text.empty() && !m_broken) {
        appendWithMarkersExpanded(m_held, text, m_pageNumber, PageCountMarker);
        m_held.push_back('\0');
    }
}

void PageTextIndex::flush()
{
    if (m_broken || !m_file.isOpen())
        return;
    if (!m_held.empty()) {
        const PageTextRecordHeader header{m_page, static_cast<uint32_t>(m_held.size())};
        m_held.insert(0, reinterpret_cast<const char *>(&header), sizeof header);
        if (!writeWholeAt(m_file.get(), m_held.data(), m_held.size(), m_bytes)) {
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

void PageTextIndex::remove()
{
    closeAndDelete(m_file, m_path);
    m_held = std::string();
}

} // namespace quillet
