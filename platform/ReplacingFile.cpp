#include "platform/ReplacingFile.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet {

namespace {

/// The mode open() gives a new file: 0666 less the process's umask, which can
/// only be read by setting it.
mode_t newFileMode()
{
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
