#include "spool/TempDir.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <system_error>

namespace quillet {

namespace {

constexpr std::string_view ListingStem = "Prt";
constexpr std::string_view SpoolSuffix = ".tmp";
/// The characters put between a spool's prefix and its suffix.
constexpr size_t UniqueLength = 6;
constexpr std::string_view UniqueCharacters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
/// Names tried before giving up: each is taken only when another file has it.
constexpr int NameAttempts = 100;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isUniqueCharacter(char c)
{
    return UniqueCharacters.find(c) != std::string_view::npos;
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

std::string uniquePart()
{
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, UniqueCharacters.size() - 1);
    std::string part(UniqueLength, ' ');
    for (char &c : part)
        c = UniqueCharacters[pick(random)];
    return part;
}

} // namespace

std::filesystem::path TempDir()
{
    std::error_code error;
    std::filesystem::path dir = std::filesystem::temp_directory_path(error);
    return error ? std::filesystem::path() : dir;
}

SpoolName MakeSpoolName(const std::string &prefix)
{
    const std::filesystem::path dir = TempDir();
    if (dir.empty())
        return {};
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        const std::filesystem::path path = dir / pathFromUtf8(prefix + uniquePart() + std::string(SpoolSuffix));
        bool nameTaken = false;
        SystemFile file = SystemFile::createPrivate(path, nameTaken);
        if (!file.isOpen()) {
            if (nameTaken)
                continue;
            return {};
        }
        // Where the file system has no locks, no sweep can take one either,
        // so the file is safe unlocked.
        if (file.tryLock() == LockResult::HeldElsewhere)
            return {}; // a sweep took it for stale after a stall longer than its age rule and deletes it
        return {utf8Of(path), std::move(file)};
    }
    return {};
}

bool writeWholeAt(const SystemFile &file, const char *bytes, size_t size, int64_t offset)
{
    if (file.writeAt(bytes, size, offset))
        return true;
    // No half record stays behind; should truncating fail too, the caller
    // still writes its next record at offset.
    file.truncate(offset);
    return false;
}

void closeAndDelete(SystemFile &file, const std::string &path)
{
    file.close();
    if (!path.empty())
        removeFile(pathFromUtf8(path));
}

std::string spoolPrefixForToday()
{
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%s%02d-", ListingStem.data(), localDayOfMonth());
    return prefix;
}

bool isListingSpoolName(std::string_view name)
{
    if (name.size() < ListingStem.size() + 3 || !sameIgnoringCase(name.substr(0, ListingStem.size()), ListingStem))
        return false;
    name.remove_prefix(ListingStem.size());
    if (!isDigit(name[0]) || !isDigit(name[1]) || name[2] != '-')
        return false;
    name.remove_prefix(3);
    const std::string_view tag = TextIndexTag;
    if (name.size() > tag.size() && sameIgnoringCase(name.substr(0, tag.size()), tag))
        name.remove_prefix(tag.size());
    return name.size() == UniqueLength + SpoolSuffix.size() &&
           sameIgnoringCase(name.substr(UniqueLength), SpoolSuffix) &&
           std::all_of(name.begin(), name.begin() + UniqueLength, isUniqueCharacter);
}

} // namespace quillet
