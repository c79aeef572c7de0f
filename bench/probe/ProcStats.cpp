#include "ProcStats.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace avo::bench {
namespace {

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::optional<long> FieldKiB(const std::string& text, const std::string& key) {
    const std::size_t at = text.find("\n" + key + ":");
    if (at == std::string::npos) return std::nullopt;
    std::istringstream line(text.substr(at + key.size() + 2));
    long value = 0;
    if (!(line >> value)) return std::nullopt;
    return value;
}

}  // namespace

std::optional<Memory> ParseStatus(const std::string& statusText) {
    // Every key but the first follows a newline; a leading one makes them all alike.
    const std::string text = "\n" + statusText;
    const auto rss = FieldKiB(text, "VmRSS");
    const auto hwm = FieldKiB(text, "VmHWM");
    if (!rss || !hwm) return std::nullopt;
    return Memory{*rss, *hwm};
}

std::optional<long long> ParseCpuTicks(const std::string& statText) {
    // The command name may hold blanks and parentheses; the fields start after the last ')'.
    const std::size_t close = statText.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::istringstream fields(statText.substr(close + 1));
    std::string field;
    long long utime = 0, stime = 0;
    // After ')' come state (field 3) ... minflt etc.; utime and stime are fields 14 and 15.
    for (int number = 3; number <= 13; ++number) {
        if (!(fields >> field)) return std::nullopt;
    }
    if (!(fields >> utime >> stime)) return std::nullopt;
    return utime + stime;
}

std::optional<long long> ParseSchedstatNs(const std::string& schedstatText) {
    std::istringstream fields(schedstatText);
    long long ns = 0;
    if (!(fields >> ns)) return std::nullopt;
    return ns;
}

std::optional<double> ReadThreadsCpuMs(pid_t pid) {
    std::error_code error;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    long long total = 0;
    bool any = false;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        // A thread may end between listing and reading; it simply no longer counts.
        if (const auto ns = ParseSchedstatNs(ReadWhole(task.path() / "schedstat"))) {
            total += *ns;
            any = true;
        }
    }
    if (!any) return std::nullopt;
    return static_cast<double>(total) / 1e6;
}

std::optional<Memory> ReadMemory(pid_t pid) {
    return ParseStatus(ReadWhole("/proc/" + std::to_string(pid) + "/status"));
}

std::optional<double> ReadCpuSeconds(pid_t pid) {
    const auto ticks = ParseCpuTicks(ReadWhole("/proc/" + std::to_string(pid) + "/stat"));
    if (!ticks) return std::nullopt;
    return static_cast<double>(*ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

}  // namespace avo::bench
