#include "spool/SpoolCodec.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace quillet {

namespace {

static_assert(std::endian::native == std::endian::little,
              "the spool layout is little-endian; add byte swapping for this target");

constexpr int16_t FileTrue = -1;
/// In the last byte of a record's slot, which the layout leaves free: a
/// written slot is never all zero, so the zero room a writer reserves after
/// its last command never passes for commands. A chunk's slot holds a length.
constexpr uint8_t RecordSlotMark = 1;

template <typename T> void put(char *slot, int offset, T value)
{
    std::memcpy(slot + offset, &value, sizeof value);
}

template <typename T> T get(const char *slot, int offset)
{
    T value;
    std::memcpy(&value, slot + offset, sizeof value);
    return value;
}

/// The first piece of UTF-8 text of at most ChunkTextMax bytes, not ending
/// inside a character (a malformed sequence is cut anywhere).
std::string_view firstChunk(std::string_view text)
{
    size_t cut = std::min<size_t>(text.size(), ChunkTextMax);
    if (cut < text.size()) {
        // Back up to the start of a character: at most three continuation bytes.
        size_t start = cut;
        for (int back = 0; back < 4 && start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80;
             ++back)
            --start;
        if (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) != 0x80)
            cut = start;
    }
    return text.substr(0, cut);
}

} // namespace

size_t commandSlots(std::string_view text)
{
    size_t slots = 1;
    for (; !text.empty(); ++slots)
        text.remove_prefix(firstChunk(text).size());
    return slots;
}

void encodeCommand(const SpoolRecord &record, std::span<char> slots)
{
    std::fill(slots.begin(), slots.end(), 0);
    char *slot = slots.data();
    put<int16_t>(slot, 0, record.page);
    put<uint8_t>(slot, 2, record.op);
    put<float>(slot, 3, record.valA);
    put<float>(slot, 7, record.valC);
    put<float>(slot, 11, record.valB);
    put<float>(slot, 15, record.valD);
    put<int16_t>(slot, 19, record.text.empty() ? 0 : FileTrue);
    put<float>(slot, 21, record.valE);
    put<uint8_t>(slot, SlotSize - 1, RecordSlotMark);
    for (std::string_view rest = record.text; !rest.empty();) {
        const std::string_view chunk = firstChunk(rest);
        rest.remove_prefix(chunk.size());
        slot += SlotSize;
        put<int16_t>(slot, 0, rest.empty() ? 0 : FileTrue);
        put<uint16_t>(slot, 2, static_cast<uint16_t>(chunk.size()));
        std::memcpy(slot + ChunkHeaderSize, chunk.data(), chunk.size());
    }
}

DecodedRecord decodeRecord(std::span<const char, SlotSize> slot)
{
    DecodedRecord decoded;
    SpoolRecord &r = decoded.record;
    r.page = get<int16_t>(slot.data(), 0);
    r.op = get<uint8_t>(slot.data(), 2);
    r.valA = get<float>(slot.data(), 3);
    r.valC = get<float>(slot.data(), 7);
    r.valB = get<float>(slot.data(), 11);
    r.valD = get<float>(slot.data(), 15);
    decoded.hasText = get<int16_t>(slot.data(), 19) != 0;
    r.valE = get<float>(slot.data(), 21);
    return decoded;
}

DecodedChunk decodeChunk(std::span<const char, SlotSize> slot)
{
    const auto length = std::min<uint16_t>(get<uint16_t>(slot.data(), 2), SlotSize - ChunkHeaderSize);
    return {get<int16_t>(slot.data(), 0) != 0, std::string_view(slot.data() + ChunkHeaderSize, length)};
}

} // namespace quillet
