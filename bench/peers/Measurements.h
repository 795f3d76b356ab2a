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

/// Milliseconds since start on the steady clock.
double millisecondsSince(long long startNanoseconds);
long long nowNanoseconds();

} // namespace quillet::bench
