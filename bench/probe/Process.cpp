#include "Process.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>

extern char** environ;

namespace avo::bench {
namespace {

std::vector<char*> ArgvPointers(const std::vector<std::string>& argv) {
    std::vector<char*> pointers;
    for (const std::string& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

bool Reaped(pid_t pid) {
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    return done == pid || (done < 0 && errno == ECHILD);
}

}  // namespace

pid_t Spawn(const std::vector<std::string>& argv) {
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    std::vector<char*> pointers = ArgvPointers(argv);
    pid_t pid = 0;
    const int failure =
        posix_spawnp(&pid, pointers[0], nullptr, &attributes, pointers.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (failure) throw std::runtime_error("cannot start " + argv[0]);
    return pid;
}

bool IsRunning(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, WNOHANG) == 0;
}

void EndGroup(pid_t pid) {
    kill(-pid, SIGTERM);
    for (int i = 0; i < 200 && !Reaped(pid); ++i) SleepMs(10);
    kill(-pid, SIGKILL);  // stragglers of the group, and the leader if it ignored SIGTERM
    while (!Reaped(pid)) SleepMs(5);
}

int RunAndWait(const std::vector<std::string>& argv) {
    const pid_t pid = Spawn(argv);
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

void SleepMs(double ms) {
    const long ns = static_cast<long>(ms * 1e6);
    timespec span{ns / 1000000000L, ns % 1000000000L};
    while (nanosleep(&span, &span) != 0 && errno == EINTR) {}
}

}  // namespace avo::bench
