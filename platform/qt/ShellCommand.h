#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace avo::qt {

// A program and its arguments, ready to be started without a shell.
struct ShellCommand {
    std::string Program;
    std::vector<std::string> Arguments;
};

// Turns one of the program's Windows command lines into what does the same job here. The
// Windows shell program (explorer.exe) hands an address to the web browser; on Linux
// xdg-open does. The program may be quoted or carry a path; the rest of the line travels as
// one argument, exactly as written, so that no shell ever reads an address. Nothing when
// the line names no program.
std::optional<ShellCommand> TranslateCommandLine(std::string_view commandLine);

}  // namespace avo::qt
