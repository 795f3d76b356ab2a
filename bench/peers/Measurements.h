#pragma once
// One measurement run of the peer comparison: the figures one process
// measured, printed as one JSON line on standard output for bench/peers/run.

#include <map>
#include <string>

namespace quillet::bench {

class Measurements {
public:
    void set(const std::string &name, double value) { m_values[name] = value; }
    /// {"what": ..., "pages": ..., "<name>": <value>, ..., "peak_MiB": ...}
    void print(const std::string &what, int pages) const;

private:
    std::map<std::string, double> m_values;
};

/// Wall time on the steady clock and the process's CPU time since it was made
/// or restarted. CPU time is what other work on a shared machine disturbs
/// least, so the PDF comparisons report it beside the wall time.
class Stopwatch {
public:
    Stopwatch() { restart(); }
    void restart();
    double wallMs() const;
    double cpuMs() const;

private:
    long long m_wallNs = 0;
    long long m_cpuNs = 0;
};

} // namespace quillet::bench
