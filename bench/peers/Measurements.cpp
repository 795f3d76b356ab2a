#include "Measurements.h"

#include "../PeakMemory.h"

#include <chrono>
#include <cstdio>

namespace quillet::bench {

void Measurements::print(const std::string &what, int pages) const
{
    std::printf("{\"what\": \"%s\", \"pages\": %d", what.c_str(), pages);
    for (const auto &[name, value] : m_values)
        std::printf(", \"%s\": %.6g", name.c_str(), value);
    std::printf(", \"peak_MiB\": %.1f}\n", peakMemoryMiB());
    std::fflush(stdout);
}

long long nowNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double millisecondsSince(long long startNanoseconds)
{
    return static_cast<double>(nowNanoseconds() - startNanoseconds) / 1e6;
}

} // namespace quillet::bench
