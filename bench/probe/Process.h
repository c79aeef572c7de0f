#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// Starting the program under test in a process group of its own, so that whatever it starts
// (a browser, the wine helpers it owns) ends with it.
namespace avo::bench {

pid_t Spawn(const std::vector<std::string>& argv);
bool IsRunning(pid_t pid);
void EndGroup(pid_t pid);  // SIGTERM, then SIGKILL after a grace period; reaps the leader
int RunAndWait(const std::vector<std::string>& argv);  // exit status, or -1

double NowMs();  // monotonic clock
void SleepMs(double ms);

}  // namespace avo::bench
