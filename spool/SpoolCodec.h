#pragma once
// Byte layout of records and text chunks inside their slots (little-endian).

#include "spool/SpoolRecord.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

/// The slots of one command: its record and its text chunks, zero-padded.
std::vector<char> encodeCommand(const SpoolRecord &record);

/// Splits UTF-8 text into pieces of at most ChunkTextMax bytes without
/// splitting a character (a malformed sequence is cut anywhere).
std::vector<std::string_view> splitIntoChunks(std::string_view text);

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
