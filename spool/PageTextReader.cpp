#include "spool/PageTextReader.h"

#include "spool/PageTextIndex.h"
#include "spool/PageTrigrams.h"

#include "base/AsciiRun.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace quillet {

namespace {

/// Bytes read at a time: a few hundred pages of texts.
constexpr size_t ReadChunkBytes = 1 << 20;

} // namespace

uint8_t charactersBeyondAscii(std::string_view utf8)
{
    uint8_t characters = 0;
    for (size_t i = endOfAscii(utf8, 0); i < utf8.size(); i = endOfAscii(utf8, i)) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
        if ((lead == 0xC2 || lead == 0xC3) && (next & 0xC0) == 0x80) {
            characters |= lead == 0xC2 ? LatinSigns : next < 0xA0 ? LatinCapitals : LatinSmall;
            i += 2;
        } else {
            characters |= BeyondLatin;
            ++i;
        }
    }
    return characters;
}

bool PageTextReader::readPages(const PageVisitor &visit) const
{
    if (!m_file.isOpen())
        return false;
    std::vector<char> buffer(static_cast<size_t>(std::clamp<int64_t>(m_bytes, 0, ReadChunkBytes)));
    int64_t bufferAt = 0; // where buffer[0] is in the file
    size_t start = 0, end = 0;
    while (bufferAt + static_cast<int64_t>(start) < m_bytes) {
        size_t needed = sizeof(PageTextRecordHeader);
        if (end - start >= needed) {
            PageTextRecordHeader header;
            std::memcpy(&header, buffer.data() + start, sizeof header);
            needed += PageTrigramBytes;
            if (header.bytes > m_bytes - bufferAt - static_cast<int64_t>(start + needed))
                return false; // a byte count past what was written is damage
            needed += header.bytes;
            if (end - start >= needed) {
                const char *trigrams = buffer.data() + start + sizeof header;
                const IndexedPage page{header.page,
                                       std::string_view(trigrams + PageTrigramBytes, header.bytes),
                                       static_cast<uint8_t>(header.characters),
                                       std::string_view(trigrams, PageTrigramBytes)};
                if (!visit(page))
                    return true;
                start += needed;
                continue;
            }
        }
        // Keep the part of a record read so far, then read on after it.
        std::memmove(buffer.data(), buffer.data() + start, end - start);
        bufferAt += static_cast<int64_t>(start);
        end -= start;
        start = 0;
        buffer.resize(std::max(buffer.size(), needed));
        const size_t wanted = static_cast<size_t>(std::min<int64_t>(
            static_cast<int64_t>(buffer.size() - end), m_bytes - bufferAt - static_cast<int64_t>(end)));
        const int64_t got = m_file.readAt(buffer.data() + end, wanted, bufferAt + static_cast<int64_t>(end));
        if (got <= 0)
            return false; // shorter than written: cut or damaged
        end += static_cast<size_t>(got);
    }
    return true;
}

} // namespace quillet
