#pragma once
// The texts of each page, kept beside the spool so that a find reads a few
// bytes a text instead of every drawing record. One record per page: its
// number, its byte count, then its texts, each ended by a zero byte, with the
// page number in place of its marker and the page-count marker kept, as
// "TRICOCO", for the count is known only when the listing ends; the texts
// that hold it come first, so a find expands only those. Records are held
// until a few hundred KiB are ready, then written with one call: memory stays
// small, and the page cache keeps the file in large pieces, which a find
// copies out faster. Each record also says which characters beyond ASCII its
// texts hold, so that a find which compares folded texts reads a page's bytes
// once when folding cannot change them, and which runs of three bytes they
// hold (spool/PageTrigrams), so that most pages are ruled out without reading
// their texts at all. The file is only a prefilter: a page it names is
// searched in the spool itself.

#include "spool/PageTextReader.h"
#include "spool/SystemFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quillet {

/// The start of each record of the file, followed by the texts' PageTrigrams
/// and then the texts.
struct PageTextRecordHeader {
    int32_t page;
    uint32_t bytes;      ///< of the texts that follow
    uint32_t characters; ///< PageCharacters of those texts
};

class PageTextIndex {
public:
    /// Creates the file in the temporary directory; nullptr on failure.
    static std::unique_ptr<PageTextIndex> create(const std::string &prefix);

    const std::string &path() const { return m_path; }

    /// Adds a text of a page as the command recorded it (pages come in
    /// ascending order); an empty text only notes that the page exists.
    void add(int page, std::string_view text);
    /// Writes the texts held, the current page's too, so the file is complete.
    void flush();
    /// The pages, from 1, whose texts were all in the file at the last
    /// flush. After a failed write nothing more is written, so the pages
    /// after it stay unknown.
    int completePages() const { return m_completePages; }

    /// What is in the file now, through a duplicate of its handle;
    /// flush first for the page being composed.
    PageTextReader reader() const { return PageTextReader(m_file.duplicate(), m_bytes, m_completePages); }

    /// Closes the file and deletes it.
    void remove();

private:
    PageTextIndex(std::string path, SystemFile file) : m_path(std::move(path)), m_file(std::move(file)) {}

    /// Bytes of records held before they are written.
    static constexpr size_t WriteBytes = 256 << 10;

    /// Moves the current page's texts, as a record, to those held.
    void closePage();
    void writeHeld();

    std::string m_path;
    SystemFile m_file;
    int64_t m_bytes = 0;
    int m_page = 0; ///< the page whose texts are held
    std::string m_pageNumber = "0";
    int m_completePages = 0;
    bool m_broken = false;
    std::string m_pageTexts;     ///< the current page's, those with the page-count marker first
    size_t m_countingBytes = 0;  ///< of those with the marker
    std::string m_held;          ///< records of closed pages, not yet written
    int m_heldThroughPage = 0;   ///< the last page closed
};

} // namespace quillet
