#pragma once
// Reads the page text index through a handle of its own, with positioned
// reads, and only as far as the index was written: a file planted later at
// its name, or one that grows, is never read.

#include "spool/SystemFile.h"

#include <cstdint>
#include <functional>
#include <string_view>

namespace quillet {

/// Which characters beyond ASCII some texts hold, by range of code points.
enum PageCharacters : uint8_t {
    LatinSigns = 1,    ///< U+0080 to U+00BF
    LatinCapitals = 2, ///< U+00C0 to U+00DF
    LatinSmall = 4,    ///< U+00E0 to U+00FF
    BeyondLatin = 8,   ///< U+0100 and up, and bytes that are not UTF-8
};

/// The PageCharacters of a UTF-8 text.
uint8_t charactersBeyondAscii(std::string_view utf8);

/// One record of the index: a page's texts, as the index keeps them.
struct IndexedPage {
    int page;
    std::string_view texts;
    uint8_t characters;         ///< PageCharacters
    std::string_view trigrams{}; ///< PageTrigrams of texts; empty when not known
};

class PageTextReader {
public:
    /// Reads nothing; readPages fails.
    PageTextReader() = default;
    /// Reads the first bytes bytes of the open file, which hold the texts of
    /// pages 1 to completePages in full.
    PageTextReader(SystemFile file, int64_t bytes, int completePages)
        : m_file(std::move(file)), m_bytes(bytes), m_completePages(completePages)
    {
    }

    /// The pages, from 1, whose texts are all in the part read.
    int completePages() const { return m_completePages; }

    /// Calls visit(page) for each record, in order, until visit
    /// returns false. A page may come in more than one record. False when
    /// the file cannot be read or a record is damaged.
    using PageVisitor = std::function<bool(const IndexedPage &page)>;
    bool readPages(const PageVisitor &visit) const;

private:
    SystemFile m_file;
    int64_t m_bytes = 0;
    int m_completePages = 0;
};

} // namespace quillet
