#include "platform/ReplacingFile.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {

namespace {

/// The mode open() gives a new file: 0666 less the process's umask. The kernel
/// reports the umask in /proc; setting it to read it back would race with
/// other threads creating files, so that is only the fallback.
mode_t newFileMode()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
            bool octal = false;
            const uint mask = line.startsWith("Umask:") ? line.mid(6).trimmed().toUInt(&octal, 8) : 0;
            if (octal)
                return 0666 & ~mask;
        }
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

ReplacingFile::ReplacingFile(const QString &path)
    : QTemporaryFile(QFileInfo(path).dir().filePath(u'.' + QFileInfo(path).fileName() + QStringLiteral(".XXXXXX"))),
      m_path(path)
{
}

bool ReplacingFile::commit()
{
    if (!isOpen() || !flush() || ::fsync(handle()) != 0 || ::fchmod(handle(), newFileMode()) != 0)
        return false;
    // rename() replaces the name itself: a link there is not followed.
    if (std::rename(QFile::encodeName(fileName()).constData(), QFile::encodeName(m_path).constData()) != 0)
        return false;
    setAutoRemove(false);
    close();
    return true;
}

} // namespace quillet
