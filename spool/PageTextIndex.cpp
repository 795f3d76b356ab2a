#include "spool/PageTextIndex.h"

#include "spool/PageMarkers.h"
#include "spool/PageTrigrams.h"
#include "spool/TempDir.h"

#include <algorithm>

namespace quillet {

std::unique_ptr<PageTextIndex> PageTextIndex::create(const std::string &prefix)
{
    SpoolName name = MakeSpoolName(prefix);
    if (!name.file.isOpen())
        return nullptr;
    return std::unique_ptr<PageTextIndex>(new PageTextIndex(std::move(name.path), std::move(name.file)));
}

void PageTextIndex::add(int page, std::string_view text)
{
    if (page != m_page) {
        closePage();
        if (m_held.size() >= WriteBytes)
            writeHeld();
        m_page = page;
        m_pageNumber = std::to_string(page);
    }
    if (text.empty() || m_broken)
        return;
    const size_t start = m_pageTexts.size();
    appendWithMarkersExpanded(m_pageTexts, text, m_pageNumber, PageCountMarker);
    m_pageTexts.push_back('\0');
    if (std::string_view(m_pageTexts).substr(start).find(PageCountMarker) != std::string_view::npos) {
        std::rotate(m_pageTexts.begin() + static_cast<std::ptrdiff_t>(m_countingBytes),
                    m_pageTexts.begin() + static_cast<std::ptrdiff_t>(start), m_pageTexts.end());
        m_countingBytes += m_pageTexts.size() - start;
    }
}

void PageTextIndex::closePage()
{
    if (!m_pageTexts.empty() && !m_broken) {
        const PageTextRecordHeader header{m_page, static_cast<uint32_t>(m_pageTexts.size()),
                                          charactersBeyondAscii(m_pageTexts)};
        m_held.append(reinterpret_cast<const char *>(&header), sizeof header);
        m_held.append(bytesOf(trigramsOf(m_pageTexts)));
        m_held.append(m_pageTexts);
    }
    m_pageTexts.clear();
    m_countingBytes = 0;
    m_heldThroughPage = m_page;
}

void PageTextIndex::flush()
{
    closePage();
    writeHeld();
}

void PageTextIndex::writeHeld()
{
    if (m_broken || !m_file.isOpen())
        return;
    if (!m_held.empty()) {
        if (!writeWholeAt(m_file, m_held.data(), m_held.size(), m_bytes)) {
            // Nothing more is written, so the pages after the last complete one stay unknown.
            m_broken = true;
            m_held = std::string();
            m_pageTexts = std::string();
            return;
        }
        m_bytes += static_cast<int64_t>(m_held.size());
        m_held.clear();
    }
    m_completePages = m_heldThroughPage;
}

void PageTextIndex::remove()
{
    closeAndDelete(m_file, m_path);
    m_held = std::string();
    m_pageTexts = std::string();
}

} // namespace quillet
