#include "platform/qt/ShellCommand.h"

#include <algorithm>
#include <cctype>

namespace avo::qt {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kOpener = "xdg-open";

std::string_view SkipBlanks(std::string_view text) {
    const std::size_t start = text.find_first_not_of(kBlanks);
    return start == std::string_view::npos ? std::string_view{} : text.substr(start);
}

// Splits the program off the front of the line, as Windows does: up to the closing quote
// when it is quoted, else up to the first blank.
std::pair<std::string_view, std::string_view> SplitProgram(std::string_view line) {
    if (line.starts_with('"')) {
        const std::size_t close = line.find('"', 1);
        if (close == std::string_view::npos) return {line.substr(1), {}};
        return {line.substr(1, close - 1), line.substr(close + 1)};
    }
    const std::size_t end = std::min(line.find_first_of(kBlanks), line.size());
    return {line.substr(0, end), line.substr(end)};
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

bool IsWindowsShell(std::string_view program) {
    const std::size_t slash = program.find_last_of("\\/");
    const std::string_view name =
        slash == std::string_view::npos ? program : program.substr(slash + 1);
    return EqualsIgnoringCase(name, "explorer.exe") || EqualsIgnoringCase(name, "explorer");
}

}  // namespace

std::optional<ShellCommand> TranslateCommandLine(std::string_view commandLine) {
    const auto [program, afterProgram] = SplitProgram(SkipBlanks(commandLine));
    if (program.empty()) return std::nullopt;
    ShellCommand command{IsWindowsShell(program) ? std::string(kOpener) : std::string(program), {}};
    // Only the blanks that separate the program from its argument go; the argument itself
    // keeps every character, trailing blanks included.
    const std::string_view argument = SkipBlanks(afterProgram);
    if (!argument.empty()) command.Arguments.emplace_back(argument);
    return command;
}

}  // namespace avo::qt
