#pragma once
// Peak resident memory of the benchmark process, read from /proc/self/status.

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace quillet::bench {

/// Starts a new peak at the current resident size (Linux), so the next reading
/// covers only what ran since; where that is refused the peak is the process's.
inline void resetPeakMemory()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

/// The peak resident memory (VmHWM) in MiB; 0 where it cannot be read.
inline double peakMemoryMiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024;
    return 0;
}

/// Adds the peak resident memory as the counter peak_MiB.
inline void addPeakMemory(benchmark::State &state)
{
    state.counters["peak_MiB"] = peakMemoryMiB();
}

} // namespace quillet::bench
