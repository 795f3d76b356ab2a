#include "spool/SpoolFile.h"

#include "spool/SpoolCodec.h"
#include "spool/TempDir.h"

#include <algorithm>
#include <climits>

namespace quillet {

namespace {

/// The first slots of the file up to the last one holding a byte other than
/// zero: a written slot always holds one, the room reserved after them none.
int32_t slotsBeforeZeros(const SystemFile &file, int32_t slots)
{
    constexpr int32_t BlockSlots = 512;
    std::vector<char> block(static_cast<size_t>(BlockSlots) * SlotSize);
    const auto holdsAByte = [](const char *slot) {
        return std::any_of(slot, slot + SlotSize, [](char byte) { return byte != 0; });
    };
    while (slots > 0) {
        const int32_t first = std::max(slots - BlockSlots, 0);
        const auto size = static_cast<size_t>(slots - first) * SlotSize;
        if (file.readAt(block.data(), size, static_cast<int64_t>(first) * SlotSize) != static_cast<int64_t>(size))
            return slots; // what cannot be read is left for the reader to find short
        for (int32_t slot = slots; slot > first; --slot)
            if (holdsAByte(block.data() + static_cast<size_t>(slot - 1 - first) * SlotSize))
                return slot;
        slots = first;
    }
    return 0;
}

} // namespace

std::unique_ptr<SpoolFile> SpoolFile::make(std::string path, SystemFile file, int32_t slotCount)
{
    SystemFile reading = file.duplicate();
    if (!reading.isOpen())
        return nullptr;
    return std::unique_ptr<SpoolFile>(
        new SpoolFile(std::move(path), std::move(file), SpoolReader(std::move(reading), slotCount)));
}

std::unique_ptr<SpoolFile> SpoolFile::create(const std::string &prefix)
{
    SpoolName name = MakeSpoolName(prefix);
    const bool created = name.file.isOpen();
    std::unique_ptr<SpoolFile> spool = make(name.path, std::move(name.file), 0);
    if (spool) {
        spool->m_appender.emplace(spool->m_file, 0);
        spool->m_texts = PageTextIndex::create(prefix + TextIndexTag);
    } else if (created)
        removeFile(pathFromUtf8(name.path)); // created, but no handle is left to read it through
    return spool;
}

std::unique_ptr<SpoolFile> SpoolFile::open(const std::string &path)
{
    SystemFile file = SystemFile::openForReading(pathFromUtf8(path));
    const std::optional<int64_t> size = file.isOpen() ? file.size() : std::nullopt;
    if (!size)
        return nullptr;
    const int32_t slots = slotsBeforeZeros(file, static_cast<int32_t>(std::min<int64_t>(*size / SlotSize, INT32_MAX)));
    return make(path, std::move(file), slots);
}

bool SpoolFile::write(const SpoolRecord &record)
{
    if (!m_appender)
        return false;
    const size_t slots = commandSlots(record.text);
    const int32_t written = m_records.slotCount();
    const size_t size = slots * SlotSize;
    char *room = slots <= static_cast<size_t>(INT32_MAX - written) ? m_appender->room(size) : nullptr;
    if (!room)
        return false;
    encodeCommand(record, {room, size});
    m_appender->advance(size);
    m_records.setSlotCount(written + static_cast<int32_t>(slots));
    return true;
}

SpoolSnapshot SpoolFile::snapshot(std::vector<int32_t> pageIndex)
{
    PageTextReader texts;
    if (m_texts) {
        m_texts->flush(); // written on this thread: settle here what a reader may trust
        texts = m_texts->reader();
    }
    return {m_records.duplicate(), std::move(texts), std::move(pageIndex)};
}

std::unique_ptr<SpoolFile> SpoolFile::reader() const
{
    return make(m_path, m_file.duplicate(), m_records.slotCount());
}

void SpoolFile::remove()
{
    m_appender.reset();
    closeAndDelete(m_file, m_path);
    m_records = SpoolReader();
    if (m_texts) {
        m_texts->remove();
        m_texts.reset();
    }
}

} // namespace quillet
