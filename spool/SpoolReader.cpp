#include "spool/SpoolReader.h"

#include "spool/SpoolCodec.h"

#include <algorithm>
#include <cstring>

namespace quillet {

bool SpoolReader::readSlot(int32_t slot, char *into)
{
    if (!m_file.isOpen() || slot < 1 || slot > m_slots)
        return false;
    if (slot < m_readAheadFirst || slot >= m_readAheadFirst + m_readAheadCount) {
        constexpr int32_t ReadAheadSlots = 256;
        const int32_t count = std::min(ReadAheadSlots, m_slots - slot + 1);
        m_readAhead.resize(static_cast<size_t>(ReadAheadSlots) * SlotSize);
        const int64_t got = m_file.readAt(m_readAhead.data(), static_cast<size_t>(count) * SlotSize,
                                          static_cast<int64_t>(slot - 1) * SlotSize);
        m_readAheadFirst = slot;
        m_readAheadCount = got > 0 ? static_cast<int32_t>(got / SlotSize) : 0;
        if (m_readAheadCount == 0)
            return false;
    }
    std::memcpy(into, m_readAhead.data() + static_cast<size_t>(slot - m_readAheadFirst) * SlotSize, SlotSize);
    return true;
}

std::optional<SpoolRecord> SpoolReader::read()
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

} // namespace quillet
