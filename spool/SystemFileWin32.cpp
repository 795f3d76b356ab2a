#include "spool/SystemFile.h"

#include <windows.h>

#include <aclapi.h>
#include <algorithm>

namespace quillet {

namespace {

HANDLE handle(SystemFile::Native native)
{
    return reinterpret_cast<HANDLE>(native);
}

SystemFile::Native nativeOf(HANDLE h)
{
    return reinterpret_cast<SystemFile::Native>(h);
}

/// Shared with every other opener, so that readers, the sweep and a
/// delete-on-close owner never refuse each other.
constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

/// The lock is taken on a byte far past any data, for Windows' locks keep
/// other handles from reading and writing the bytes they cover.
constexpr DWORD LockOffsetHigh = 0x7FFFFFFF;

/// The process's user, from its token; empty when it cannot be read.
const std::vector<char> &userSid()
{
    static const std::vector<char> sid = [] {
        std::vector<char> buffer;
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
            return buffer;
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        std::vector<char> user(size);
        if (size && GetTokenInformation(token, TokenUser, user.data(), size, &size)) {
            PSID id = reinterpret_cast<TOKEN_USER *>(user.data())->User.Sid;
            const char *bytes = static_cast<const char *>(id);
            buffer.assign(bytes, bytes + GetLengthSid(id));
        }
        CloseHandle(token);
        return buffer;
    }();
    return sid;
}

PSID userSidPointer()
{
    return userSid().empty() ? nullptr : const_cast<char *>(userSid().data());
}

bool ownedByUser(HANDLE file)
{
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                        &descriptor) != ERROR_SUCCESS)
        return false;
    const bool mine = owner && userSidPointer() && EqualSid(owner, userSidPointer());
    LocalFree(descriptor);
    return mine;
}

std::time_t timeOf(LARGE_INTEGER fileTime)
{
    // 100-nanosecond ticks since 1601, to seconds since 1970.
    constexpr int64_t TicksPerSecond = 10000000, SecondsTo1970 = 11644473600;
    return static_cast<std::time_t>(fileTime.QuadPart / TicksPerSecond - SecondsTo1970);
}

std::optional<FileStatus> statusOf(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandle(file, &info) ||
        !GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic))
        return std::nullopt;
    constexpr DWORD NotPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
    const LARGE_INTEGER changed = basic.ChangeTime.QuadPart ? basic.ChangeTime : basic.LastWriteTime;
    return FileStatus{(info.dwFileAttributes & NotPlain) == 0 && GetFileType(file) == FILE_TYPE_DISK,
                      ownedByUser(file),
                      info.nNumberOfLinks,
                      timeOf(changed),
                      info.dwVolumeSerialNumber,
                      (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

/// Security attributes giving the process's user alone every right, and
/// making it the owner, whatever the folder would let others inherit.
class PrivateSecurity {
public:
    PrivateSecurity()
    {
        PSID user = userSidPointer();
        if (!user)
            return;
        m_acl.resize(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(user));
        auto *acl = reinterpret_cast<PACL>(m_acl.data());
        m_ready = InitializeAcl(acl, static_cast<DWORD>(m_acl.size()), ACL_REVISION) &&
                  AddAccessAllowedAce(acl, ACL_REVISION, GENERIC_ALL, user) &&
                  InitializeSecurityDescriptor(&m_descriptor, SECURITY_DESCRIPTOR_REVISION) &&
                  SetSecurityDescriptorOwner(&m_descriptor, user, FALSE) &&
                  SetSecurityDescriptorDacl(&m_descriptor, TRUE, acl, FALSE) &&
                  SetSecurityDescriptorControl(&m_descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
        m_attributes = {sizeof m_attributes, &m_descriptor, FALSE};
    }
    SECURITY_ATTRIBUTES *attributes() { return m_ready ? &m_attributes : nullptr; }

private:
    std::vector<char> m_acl;
    SECURITY_DESCRIPTOR m_descriptor{};
    SECURITY_ATTRIBUTES m_attributes{};
    bool m_ready = false;
};

OVERLAPPED at(int64_t offset)
{
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return where;
}

/// At most this much a call: ReadFile and WriteFile count in DWORDs.
constexpr size_t MaxTransfer = 1u << 30;

} // namespace

SystemFile SystemFile::createPrivate(const std::filesystem::path &path, bool &nameTaken)
{
    PrivateSecurity security;
    if (!security.attributes()) {
        nameTaken = false;
        return {};
    }
    const HANDLE created = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, ShareAll,
                                       security.attributes(), CREATE_NEW,
                                       FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    nameTaken = created == INVALID_HANDLE_VALUE &&
                (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS);
    return SystemFile(nativeOf(created));
}

SystemFile SystemFile::openForReading(const std::filesystem::path &path)
{
    return SystemFile(nativeOf(
        CreateFileW(path.c_str(), GENERIC_READ, ShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
}

SystemFile SystemFile::duplicate() const
{
    HANDLE copy = INVALID_HANDLE_VALUE;
    if (isOpen() &&
        !DuplicateHandle(GetCurrentProcess(), handle(m_native), GetCurrentProcess(), &copy, 0, FALSE,
                         DUPLICATE_SAME_ACCESS))
        copy = INVALID_HANDLE_VALUE;
    return SystemFile(nativeOf(copy));
}

void SystemFile::close()
{
    if (isOpen())
        CloseHandle(handle(m_native));
    m_native = Closed;
}

int64_t SystemFile::readAt(void *into, size_t size, int64_t offset) const
{
    size_t done = 0;
    while (done < size) {
        OVERLAPPED where = at(offset + static_cast<int64_t>(done));
        DWORD got = 0;
        if (!ReadFile(handle(m_native), static_cast<char *>(into) + done,
                      static_cast<DWORD>(std::min(size - done, MaxTransfer)), &got, &where))
            return GetLastError() == ERROR_HANDLE_EOF ? static_cast<int64_t>(done) : -1;
        if (got == 0)
            break;
        done += got;
    }
    return static_cast<int64_t>(done);
}

bool SystemFile::writeAt(const void *bytes, size_t size, int64_t offset) const
{
    size_t done = 0;
    while (done < size) {
        OVERLAPPED where = at(offset + static_cast<int64_t>(done));
        DWORD put = 0;
        if (!WriteFile(handle(m_native), static_cast<const char *>(bytes) + done,
                       static_cast<DWORD>(std::min(size - done, MaxTransfer)), &put, &where) ||
            put == 0)
            return false;
        done += put;
    }
    return true;
}

std::optional<int64_t> SystemFile::size() const
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle(m_native), &size))
        return std::nullopt;
    return size.QuadPart;
}

bool SystemFile::truncate(int64_t size) const
{
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = size;
    return SetFileInformationByHandle(handle(m_native), FileEndOfFileInfo, &end, sizeof end);
}

bool SystemFile::reserve(int64_t, int64_t end) const
{
    // Moving the end of a file that is not sparse allocates its clusters,
    // or fails when the disk has not room for them.
    const std::optional<int64_t> now = size();
    return now && (*now >= end || truncate(end));
}

LockResult SystemFile::tryLock() const
{
    OVERLAPPED where{};
    where.OffsetHigh = LockOffsetHigh;
    if (LockFileEx(handle(m_native), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where))
        return LockResult::Taken;
    return GetLastError() == ERROR_LOCK_VIOLATION ? LockResult::HeldElsewhere : LockResult::Unavailable;
}

std::optional<FileStatus> SystemFile::status() const
{
    return statusOf(handle(m_native));
}

int64_t SystemFile::mappingGranularity()
{
    static const int64_t granularity = [] {
        SYSTEM_INFO info{};
        GetSystemInfo(&info);
        return static_cast<int64_t>(info.dwAllocationGranularity);
    }();
    return granularity;
}

char *SystemFile::mapWritable(int64_t offset, size_t size) const
{
    // A mapping object the size of the file as it is; the view keeps it
    // alive once its handle is closed.
    const HANDLE mapping = CreateFileMappingW(handle(m_native), nullptr, PAGE_READWRITE, 0, 0, nullptr);
    if (!mapping)
        return nullptr;
    void *window = MapViewOfFile(mapping, FILE_MAP_WRITE, static_cast<DWORD>(offset >> 32),
                                 static_cast<DWORD>(offset), size);
    CloseHandle(mapping);
    return static_cast<char *>(window);
}

void SystemFile::unmap(char *window, size_t)
{
    UnmapViewOfFile(window);
}

SystemFolder::SystemFolder(const std::filesystem::path &path) : m_path(path)
{
    std::error_code error;
    if (!path.empty() && std::filesystem::is_directory(path, error))
        m_native = &m_path;
}

SystemFolder::~SystemFolder() = default;

std::vector<std::string> SystemFolder::names() const
{
    std::vector<std::string> found;
    WIN32_FIND_DATAW entry{};
    const HANDLE search = m_native ? FindFirstFileExW((m_path / L"*").c_str(), FindExInfoBasic, &entry,
                                                      FindExSearchNameMatch, nullptr, 0)
                                   : INVALID_HANDLE_VALUE;
    if (search == INVALID_HANDLE_VALUE)
        return found;
    do
        found.push_back(utf8Of(std::filesystem::path(entry.cFileName)));
    while (FindNextFileW(search, &entry));
    FindClose(search);
    return found;
}

namespace {

/// Opens the entry itself, a link or junction and not what it points to.
HANDLE openEntry(const std::filesystem::path &path, DWORD access, DWORD flags)
{
    return CreateFileW(path.c_str(), access, ShareAll, nullptr, OPEN_EXISTING, flags | FILE_FLAG_OPEN_REPARSE_POINT,
                       nullptr);
}

} // namespace

std::optional<FileStatus> SystemFolder::status(const std::string &name) const
{
    if (!m_native)
        return std::nullopt;
    // Folders open only with backup semantics: opened so, they report themselves as folders.
    const HANDLE entry = openEntry(m_path / pathFromUtf8(name), FILE_READ_ATTRIBUTES | READ_CONTROL,
                                   FILE_FLAG_BACKUP_SEMANTICS);
    if (entry == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::optional<FileStatus> found = statusOf(entry);
    CloseHandle(entry);
    return found;
}

SystemFile SystemFolder::open(const std::string &name) const
{
    if (!m_native)
        return {};
    SystemFile file(nativeOf(openEntry(m_path / pathFromUtf8(name), GENERIC_READ | DELETE | READ_CONTROL, 0)));
    const std::optional<FileStatus> opened = file.isOpen() ? file.status() : std::nullopt;
    if (!opened || !opened->regular)
        file.close(); // a link or junction opened as itself is no file to read
    return file;
}

void SystemFolder::remove(const std::string &, const SystemFile &opened) const
{
    // Windows deletes the open file itself: whatever took its name since is safe.
    FILE_DISPOSITION_INFO deleting{TRUE};
    SetFileInformationByHandle(handle(opened.native()), FileDispositionInfo, &deleting, sizeof deleting);
}

void removeFile(const std::filesystem::path &path)
{
    DeleteFileW(path.c_str());
}

int localDayOfMonth()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now.wDay;
}

} // namespace quillet
