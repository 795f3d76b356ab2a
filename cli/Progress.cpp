#include "cli/Progress.h"

#include <cstdio>
#include <unistd.h>

namespace quillet::cli {

Progress::Progress(bool quiet) : m_shown(!quiet && isatty(fileno(stderr))), m_err(stderr) {}

void Progress::step(const QString &text)
{
    if (!m_shown)
        return;
    m_err << "\r\033[K" << text; // back to the line's start and clear it
    m_err.flush();
    m_inStep = true;
}

void Progress::endStep()
{
    if (m_inStep)
        m_err << '\n';
    m_err.flush();
    m_inStep = false;
}

void Progress::done(const QString &output, int pageCount)
{
    endStep();
    if (m_shown)
        m_err << output << ": " << pageCount << (pageCount == 1 ? " page" : " pages") << Qt::endl;
}

} // namespace quillet::cli
