#pragma once
// The texts of each page, kept beside the spool so that a find reads a few
// bytes a text instead of every drawing record. One record per page: its
// number, its byte count, then its texts, each ended by a zero byte. A page's
// texts are held only until the page ends, then written with one call, so
// memory follows the page, not the listing. The file is only a prefilter: a
// page it names is searched in the spool itself.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace quillet {

/// Stands in the kept texts for the page-count marker, whose number is known
/// only when the listing ends.
constexpr char PageCountSentinel = '\x1F';

/// Whether a spool opcode is one of the commands that show a text.
bool isTextCommand(uint8_t op);

class PageTextIndex {
public:
    /// Creates the file in the temporary directory; nullptr on failure.
    static std::unique_ptr<PageTextIndex> create(const std::string &prefix);
    ~PageTextIndex();
    PageTextIndex(const PageTextIndex &) = delete;
    PageTextIndex &operator=(const PageTextIndex &) = delete;

    const std::string &path() const { return m_path; }

    /// Adds a text of a page (pages come in ascending order); an empty text
    /// only notes that the page exists. A new page writes the last one.
    void add(int page, std::string_view text);
    /// Writes the texts held for the current page, so the file is complete.
    void flush();
    /// The pages, from 1, whose texts were all in the file at the last
    /// flush. After a failed write nothing more is written, so the pages
    /// after it stay unknown.
    int completePages() const { return m_completePages; }

    /// Calls visit(page, texts) for each record of the file at path, in
    /// order, until visit returns false. A page may come in more than one
    /// record. False when the file cannot be read or a record is damaged.
    using PageVisitor = std::function<bool(int page, std::string_view texts)>;
    static bool readPages(const std::string &path, const PageVisitor &visit);

    /// Closes the file and deletes it.
    void remove();

private:
    PageTextIndex(std::string path, int fd) : m_path(std::move(path)), m_fd(fd) {}

    std::string m_path;
    int m_fd = -1;
    int64_t m_bytes = 0;
    int m_page = 0; ///< the page whose texts are held
    int m_completePages = 0;
    bool m_broken = false;
    std::string m_held;
};

} // namespace quillet
