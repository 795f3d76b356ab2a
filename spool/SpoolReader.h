#pragma once
// Reads the commands of a spool file through a handle of its own, with
// positioned reads only, so readers on several threads never share a file
// position, and a file planted later at the spool's name is never read.

#include "spool/SpoolRecord.h"
#include "spool/SystemFile.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace quillet {

class SpoolReader {
public:
    /// Reads nothing.
    SpoolReader() = default;
    /// Reads the first slotCount slots of the open file.
    SpoolReader(SystemFile file, int32_t slotCount) : m_file(std::move(file)), m_slots(slotCount) {}

    /// A reader of the same slots through a duplicate of the handle, for
    /// another thread; it reads nothing when no handle is left.
    SpoolReader duplicate() const { return SpoolReader(m_file.duplicate(), m_slots); }

    int32_t slotCount() const { return m_slots; }
    /// Makes slots appended to the file since readable.
    void setSlotCount(int32_t slotCount) { m_slots = slotCount; }

    /// The slot (numbered from 1) the next read starts at.
    int32_t position() const { return m_readSlot; }
    void seek(int32_t slot) { m_readSlot = slot; }
    /// Reads the command at the read position and moves past its chunks;
    /// nothing at the end of the file.
    std::optional<SpoolRecord> read();

private:
    bool readSlot(int32_t slot, char *into);

    SystemFile m_file;
    int32_t m_slots = 0;
    int32_t m_readSlot = 1;
    /// Slots read ahead: pages and finds read the file in order, and one
    /// system call per slot would dominate. Appending never changes them.
    std::vector<char> m_readAhead;
    int32_t m_readAheadFirst = 0;
    int32_t m_readAheadCount = 0;
};

} // namespace quillet
