#pragma once
// The spool file: fixed 128-byte slots numbered from 1. Every command is
// written with a single write call, so the file on disk is complete whenever a
// command returns.

#include "spool/PageTextIndex.h"
#include "spool/SpoolRecord.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillet {

class SpoolFile {
public:
    /// Creates a new spool file in the temporary directory, with its page
    /// text index beside it when that can be created; nullptr on failure.
    static std::unique_ptr<SpoolFile> create(const std::string &prefix);
    /// Opens an existing spool file for reading (diagnostics, tests); a
    /// partial last slot is ignored. nullptr when it cannot be opened.
    static std::unique_ptr<SpoolFile> open(const std::string &path);
    ~SpoolFile();
    SpoolFile(const SpoolFile &) = delete;
    SpoolFile &operator=(const SpoolFile &) = delete;

    const std::string &path() const { return m_path; }
    int handle() const { return m_fd; }

    /// Appends one command; false (and nothing appended) when the write fails.
    bool write(const SpoolRecord &record);
    /// Number of the last slot written, 0 for an empty file.
    int32_t lastSlot() const { return m_slots; }

    /// Moves the read position to a slot (numbered from 1).
    void seek(int32_t slot) { m_readSlot = slot; }
    /// Reads the command at the read position and moves past its chunks;
    /// nothing at the end of the file.
    std::optional<SpoolRecord> read();

    /// The texts of each page, for finds; nullptr when there is none (the
    /// file could not be created, or the spool was opened for reading).
    PageTextIndex *texts() { return m_texts.get(); }

    /// Closes the file and its text index and deletes them.
    void remove();

private:
    SpoolFile(std::string path, int fd) : m_path(std::move(path)), m_fd(fd) {}
    bool readSlot(int32_t slot, char *into) const;

    std::string m_path;
    int m_fd = -1;
    int32_t m_slots = 0;
    int32_t m_readSlot = 1;
    std::unique_ptr<PageTextIndex> m_texts;
    /// Slots read ahead: pages and finds read the file in order, and one
    /// system call per slot would dominate. Appending never changes them.
    mutable std::vector<char> m_readAhead;
    mutable int32_t m_readAheadFirst = 0;
    mutable int32_t m_readAheadCount = 0;
};

} // namespace quillet
