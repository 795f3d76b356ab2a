#pragma once
// The spool file: fixed 128-byte slots numbered from 1. Every command is
// written into a shared mapping of the file, so the file is complete whenever
// a command returns; the zero slots of room reserved after the last command
// are cut off when the spool goes. The file and its page text index are read
// only through the handles opened when they were created, never again by
// name.

#include "spool/MappedAppender.h"
#include "spool/PageTextIndex.h"
#include "spool/SpoolReader.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillet {

/// A listing's spool as a reader on another thread needs it, through
/// handles of its own.
struct SpoolSnapshot {
    SpoolReader records;
    PageTextReader texts;           ///< reads nothing when the spool has no index
    std::vector<int32_t> pageIndex; ///< the slot each page starts at (ListingState::PageIndex)
};

class SpoolFile {
public:
    /// Creates a new spool file in the temporary directory, with its page
    /// text index beside it when that can be created; nullptr on failure.
    static std::unique_ptr<SpoolFile> create(const std::string &prefix);
    /// Opens an existing spool file for reading (diagnostics, tests); a
    /// partial last slot and the all-zero slots at the end (room reserved
    /// for commands to come) are ignored. nullptr when it cannot be opened.
    static std::unique_ptr<SpoolFile> open(const std::string &path);
    SpoolFile(const SpoolFile &) = delete;
    SpoolFile &operator=(const SpoolFile &) = delete;

    const std::string &path() const { return m_path; }
    /// The file's descriptor (a HANDLE's value on Windows), for hosts that ask.
    int handle() const { return static_cast<int>(m_file.native()); }

    /// Appends one command; false (and nothing appended) when the write fails
    /// or the spool was opened for reading.
    bool write(const SpoolRecord &record);
    /// Number of the last slot written, 0 for an empty file.
    int32_t lastSlot() const { return m_records.slotCount(); }

    /// Moves the read position to a slot (numbered from 1).
    void seek(int32_t slot) { m_records.seek(slot); }
    /// Reads the command at the read position and moves past its chunks;
    /// nothing at the end of the file.
    std::optional<SpoolRecord> read() { return m_records.read(); }

    /// The texts of each page, for finds; nullptr when there is none (the
    /// file could not be created, or the spool was opened for reading).
    PageTextIndex *texts() { return m_texts.get(); }

    /// The commands and page texts written so far (the index is flushed
    /// first), with a copy of the listing's page index.
    SpoolSnapshot snapshot(std::vector<int32_t> pageIndex);

    /// The commands written so far, for another thread to replay through
    /// a handle of its own; it writes nothing and has no text index. nullptr
    /// when no handle is left.
    std::unique_ptr<SpoolFile> reader() const;

    /// Closes the file and its text index and deletes them.
    void remove();

private:
    SpoolFile(std::string path, SystemFile file, SpoolReader records)
        : m_path(std::move(path)), m_file(std::move(file)), m_records(std::move(records))
    {
    }
    /// nullptr when the file is not open or no handle is left to read it through.
    static std::unique_ptr<SpoolFile> make(std::string path, SystemFile file, int32_t slotCount);

    std::string m_path;
    SystemFile m_file;                        ///< written through; m_records reads through a duplicate
    std::optional<MappedAppender> m_appender; ///< after m_file: it goes before the file closes
    SpoolReader m_records;
    std::unique_ptr<PageTextIndex> m_texts;
};

} // namespace quillet
