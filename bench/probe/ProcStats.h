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

// The first field of /proc/PID/task/TID/schedstat: nanoseconds spent on a CPU.
std::optional<long long> ParseSchedstatNs(const std::string& schedstatText);

std::optional<Memory> ReadMemory(pid_t pid);
// CPU time of all the process's threads, to the nanosecond; unlike wall time it does not
// grow while the process waits for a CPU that others are using.
std::optional<double> ReadThreadsCpuMs(pid_t pid);
std::optional<double> ReadCpuSeconds(pid_t pid);

}  // namespace avo::bench
