#pragma once
// A file written beside a path that takes the path's place only when it is
// complete. The path's name is replaced, never followed: a symbolic link
// planted there (in /tmp, by another user) is itself replaced, or the
// replacement is refused, and what it points to stays untouched. A file never
// committed leaves nothing behind.

#include <QTemporaryFile>

namespace quillet {

class ReplacingFile : public QTemporaryFile {
    Q_OBJECT
public:
    /// The file is created by open(), exclusively and readable by its owner
    /// only, under a hidden unique name in path's folder.
    explicit ReplacingFile(const QString &path);

    /// The path the file is written for.
    const QString &path() const { return m_path; }

    /// Writes out what is buffered, gives the file the mode a new file gets
    /// and renames it to path. False when it is not open or any step fails
    /// (path is then as it was, and the file is removed with this object).
    bool commit();

private:
    QString m_path;
};

} // namespace quillet
