#pragma once
// The records of the spool file: one 128-byte slot per command, followed by
// text chunk slots when the command carries a text.

#include <cstdint>
#include <string>

namespace quillet {

constexpr int SlotSize = 128;
constexpr int RecordSize = 25;
constexpr int ChunkHeaderSize = 4;
constexpr int ChunkTextMax = 100; ///< bytes of UTF-8 per chunk

enum Opcode : uint8_t {
    RecMargins = 0,
    RecTextLeft = 1,
    RecBox = 2,
    RecColor = 3,
    RecFill = 4,
    RecFont = 5,
    RecFix = 6,
    RecAlign = 7,
    RecDraw = 8,
    RecNewLine = 9,
    RecTextRight = 10,
    RecNewCol = 11,
    RecClsCols = 12,
    RecColLeft = 13,
    RecColRight = 14,
    RecTextCenter = 15,
    RecColCenter = 16,
    RecTextMulti = 17,
    RecCircle = 18,
    RecLine = 19,
    RecImage = 20,
    // Later commands, after those every spool reader knows.
    RecBarcode = 21,
};

/// One recorded command with its whole text. valA..valE are named after the
/// writer's argument order; on disk valC precedes valB.
struct SpoolRecord {
    int16_t page = 0;
    uint8_t op = 0;
    float valA = 0, valB = 0, valC = 0, valD = 0, valE = 0;
    std::string text; ///< UTF-8, may be empty
};

} // namespace quillet
