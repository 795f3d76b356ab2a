#include "Measurements.h"

#include "../PeakMemory.h"

#include <cstdio>
#include <ctime>

namespace quillet::bench {

void Measurements::print(const std::string &what, int pages) const
{
    std::printf("{\"what\": \"%s\", \"pages\": %d", what.c_str(), pages);
    for (const auto &[name, value] : m_values)
        std::printf(", \"%s\": %.6g", name.c_str(), value);
    std::printf(", \"peak_MiB\": %.1f}\n", peakMemoryMiB());
    std::fflush(stdout);
}

namespace {

long long nanoseconds(clockid_t clock)
{
    timespec now{};
    ::clock_gettime(clock, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

} // namespace

void Stopwatch::restart()
{
    m_wallNs = nanoseconds(CLOCK_MONOTONIC);
    m_cpuNs = nanoseconds(CLOCK_PROCESS_CPUTIME_ID);
}

double Stopwatch::wallMs() const
{
    return static_cast<double>(nanoseconds(CLOCK_MONOTONIC) - m_wallNs) / 1e6;
}

double Stopwatch::cpuMs() const
{
    return static_cast<double>(nanoseconds(CLOCK_PROCESS_CPUTIME_ID) - m_cpuNs) / 1e6;
}

} // namespace quillet::bench
