#pragma once
// Progress of a long run on standard error, for a person watching a terminal:
// each step rewrites its line, a finished step keeps it. Quiet when standard
// error is a file or a pipe, so logs and scripts read only the errors.

#include <QString>
#include <QTextStream>

namespace quillet::cli {

class Progress {
public:
    /// Shown when standard error is a terminal and quiet is false.
    explicit Progress(bool quiet);

    /// Rewrites the current line with text.
    void step(const QString &text);
    /// Keeps the current line, so that what follows starts on a line of its own.
    void endStep();
    /// A finished output: "OUTPUT: N pages" on a line of its own.
    void done(const QString &output, int pageCount);

private:
    bool m_shown;
    bool m_inStep = false;
    QTextStream m_err;
};

} // namespace quillet::cli
