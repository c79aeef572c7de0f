#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

// What /proc says about a process: its memory and the CPU time of all its threads.
namespace avo::bench {

struct Memory {
    long RssKiB = 0;  // resident now
    long HwmKiB = 0;  // resident at its peak
};

std::optional<Memory> ParseStatus(const std::string& statusText);
// utime + stime in clock ticks, from the text of /proc/PID/stat.
std::optional<long long> ParseCpuTicks(const std::string& statText);

std::optional<Memory> ReadMemory(pid_t pid);
std::optional<double> ReadCpuSeconds(pid_t pid);

}  // namespace avo::bench
