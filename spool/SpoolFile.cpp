#include "spool/SpoolFile.h"

#include "spool/SpoolCodec.h"
#include "spool/TempDir.h"

#include <algorithm>
#include <climits>
#include <sys/stat.h>

namespace quillet {

std::unique_ptr<SpoolFile> SpoolFile::make(std::string path, FileDescriptor file, int32_t slotCount)
{
    FileDescriptor reading = file.duplicate();
    if (!reading.isOpen())
        return nullptr;
    return std::unique_ptr<SpoolFile>(
        new SpoolFile(std::move(path), std::move(file), SpoolReader(std::move(reading), slotCount)));
}

std::unique_ptr<SpoolFile> SpoolFile::create(const std::string &prefix)
{
    SpoolName name = MakeSpoolName(prefix);
    std::unique_ptr<SpoolFile> spool = make(name.path, FileDescriptor(name.fd), 0);
    if (spool)
        spool->m_texts = PageTextIndex::create(prefix + "txt-");
    else if (name.fd >= 0)
        ::unlink(name.path.c_str()); // created, but no descriptor is left to read it through
    return spool;
}

std::unique_ptr<SpoolFile> SpoolFile::open(const std::string &path)
{
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (!file.isOpen() || ::fstat(file.get(), &info) != 0)
        return nullptr;
    return make(path, std::move(file),
                static_cast<int32_t>(std::min<off_t>(info.st_size / SlotSize, INT32_MAX)));
}

bool SpoolFile::write(const SpoolRecord &record)
{
    if (!m_file.isOpen())
        return false;
    const std::vector<char> bytes = encodeCommand(record);
    const int32_t written = m_records.slotCount();
    if (!writeWholeAt(m_file.get(), bytes.data(), bytes.size(), static_cast<off_t>(written) * SlotSize))
        return false;
    m_records.setSlotCount(written + static_cast<int32_t>(bytes.size() / SlotSize));
    return true;
}

SpoolSnapshot SpoolFile::snapshot(std::vector<int32_t> pageIndex)
{
    PageTextReader texts;
    if (m_texts) {
        m_texts->flush(); // written on this thread: settle here what a reader may trust
        texts = m_texts->reader();
    }
    return {m_records.duplicate(), std::move(texts), std::move(pageIndex)};
}

void SpoolFile::remove()
{
    closeAndDelete(m_file, m_path);
    m_records = SpoolReader();
    if (m_texts) {
        m_texts->remove();
        m_texts.reset();
    }
}

} // namespace quillet
