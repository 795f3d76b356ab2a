#pragma once
// Byte layout of records and text chunks inside their slots (little-endian).

#include "spool/SpoolRecord.h"

#include <span>
#include <string>
#include <string_view>

namespace quillet {

/// How many slots a command with this text takes: its record and one per chunk.
size_t commandSlots(std::string_view text);
/// Writes the slots of one command, its record and its text chunks,
/// zero-padded, into exactly commandSlots(record.text) slots.
void encodeCommand(const SpoolRecord &record, std::span<char> slots);

struct DecodedRecord {
    SpoolRecord record;
    bool hasText = false;
};
DecodedRecord decodeRecord(std::span<const char, SlotSize> slot);

struct DecodedChunk {
    bool more = false;
    std::string_view text;
};
DecodedChunk decodeChunk(std::span<const char, SlotSize> slot);

} // namespace quillet
