#pragma once
// The core's one way to the operating system's files: an open file with
// positioned reads and writes, room reserved on disk, windows mapped for
// appending and a lock, and a folder whose files are opened by name within it,
// never through a link. SystemFilePosix.cpp and SystemFileWin32.cpp implement
// it; nothing else in the core includes a system header. Paths cross it as
// std::filesystem::path, names and strings as UTF-8.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

/// What the file system says of one file, as far as the sweep of stale spools asks.
struct FileStatus {
    bool regular = false;     ///< a plain file: no folder, link, reparse point, fifo or device
    bool ownedByUser = false; ///< the process's user owns it
    uint64_t links = 0;       ///< names it has
    std::time_t changed = 0;  ///< when its status (POSIX) or attributes (Windows) last changed
    uint64_t volume = 0;
    uint64_t id = 0;

    bool sameFile(const FileStatus &other) const { return volume == other.volume && id == other.id; }
};

enum class LockResult { Taken, HeldElsewhere, Unavailable };

/// An open file, closed with its owner.
class SystemFile {
public:
    /// A file descriptor on POSIX, a HANDLE on Windows.
    using Native = std::intptr_t;

    SystemFile() = default;
    ~SystemFile() { close(); }
    SystemFile(SystemFile &&other) noexcept : m_native(std::exchange(other.m_native, Closed)) {}
    SystemFile &operator=(SystemFile &&other) noexcept
    {
        if (this != &other) {
            close();
            m_native = std::exchange(other.m_native, Closed);
        }
        return *this;
    }

    /// Creates the file at path, which must not exist yet, for reading and
    /// writing by its owner alone, and not inherited by child processes.
    /// Where the system allows (Windows), the file goes with its last
    /// handle; elsewhere its owner deletes it by name. Not open on failure;
    /// nameTaken then tells whether another file had the name.
    static SystemFile createPrivate(const std::filesystem::path &path, bool &nameTaken);
    /// Opens an existing file for reading, never inherited.
    static SystemFile openForReading(const std::filesystem::path &path);

    bool isOpen() const { return m_native != Closed; }
    Native native() const { return m_native; }
    /// Another handle of the same open file (same lock, same deletion),
    /// not inherited; the file closes when none is left.
    SystemFile duplicate() const;
    void close();

    /// Bytes read at offset, fewer only at the end of the file; -1 on failure.
    int64_t readAt(void *into, size_t size, int64_t offset) const;
    /// Whether all size bytes were written at offset.
    bool writeAt(const void *bytes, size_t size, int64_t offset) const;
    std::optional<int64_t> size() const;
    bool truncate(int64_t size) const;
    /// Makes the file at least end bytes long, with the blocks from `from`
    /// on allocated, so a write through a mapping cannot find the disk full.
    bool reserve(int64_t from, int64_t end) const;
    /// Takes, without waiting, the file's exclusive lock, held until the
    /// last handle of this open file closes.
    LockResult tryLock() const;
    std::optional<FileStatus> status() const;

    /// Mapped windows start at a multiple of this.
    static int64_t mappingGranularity();
    /// Maps size bytes from offset (a multiple of mappingGranularity()),
    /// readable and writable, shared with every reader of the file; nullptr
    /// on failure. The bytes must be inside the file.
    char *mapWritable(int64_t offset, size_t size) const;
    static void unmap(char *window, size_t size);

private:
    friend class SystemFolder;
    static constexpr Native Closed = -1;
    explicit SystemFile(Native native) : m_native(native) {}

    Native m_native = Closed;
};

/// A folder whose files are looked at and opened by name within it, never
/// through a symbolic link or another reparse point.
class SystemFolder {
public:
    explicit SystemFolder(const std::filesystem::path &path);
    ~SystemFolder();
    SystemFolder(const SystemFolder &) = delete;
    SystemFolder &operator=(const SystemFolder &) = delete;

    bool isOpen() const { return m_native != nullptr; }
    /// The names of its entries; none when the folder cannot be read.
    std::vector<std::string> names() const;
    /// The status of the entry itself, a link's and not its target's.
    std::optional<FileStatus> status(const std::string &name) const;
    /// Opens the entry for reading (and, on Windows, deleting); not open
    /// when it is a link, a folder or would make the open wait.
    SystemFile open(const std::string &name) const;
    /// Deletes the entry, only while it is still the file opened.
    void remove(const std::string &name, const SystemFile &opened) const;

private:
    std::filesystem::path m_path;
    void *m_native = nullptr; ///< DIR * on POSIX, the path's copy on Windows
};

/// Deletes the file at path, when there is one to delete.
void removeFile(const std::filesystem::path &path);
/// The day of the month (1 to 31) in local time.
int localDayOfMonth();

/// A path from its UTF-8 spelling, and back.
inline std::filesystem::path pathFromUtf8(std::string_view utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
inline std::string utf8Of(const std::filesystem::path &path)
{
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

} // namespace quillet
