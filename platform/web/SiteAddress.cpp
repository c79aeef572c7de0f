#include "platform/web/SiteAddress.h"

#include <algorithm>
#include <cctype>

namespace avo::web {
namespace {

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    const std::size_t end = text.find_last_not_of(" \t");
    return text.substr(start, end - start + 1);
}

// Splits off the program at the front of the line: up to the closing quote when quoted, else
// up to the first blank.
std::string_view TakeProgram(std::string_view& line) {
    line = TrimBlanks(line);
    std::string_view program;
    if (!line.empty() && line.front() == '"') {
        const std::size_t close = line.find('"', 1);
        program = line.substr(1, close == std::string_view::npos ? line.npos : close - 1);
        line = close == std::string_view::npos ? std::string_view{} : line.substr(close + 1);
    } else {
        const std::size_t blank = line.find_first_of(" \t");
        program = line.substr(0, blank);
        line = blank == std::string_view::npos ? std::string_view{} : line.substr(blank);
    }
    return program;
}

}  // namespace

std::optional<std::string> SiteAddressOf(std::string_view commandLine) {
    std::string_view rest = commandLine;
    const std::string program = Lower(TakeProgram(rest));
    const std::size_t slash = program.find_last_of("\\/");
    const std::string base = slash == std::string::npos ? program : program.substr(slash + 1);
    if (base != "explorer.exe" && base != "explorer") return std::nullopt;
    const std::string_view address = TrimBlanks(rest);
    const std::string scheme = Lower(address.substr(0, address.find(':') + 1));
    if (scheme != "http:" && scheme != "https:") return std::nullopt;
    if (std::any_of(address.begin(), address.end(),
                    [](unsigned char c) { return c <= ' ' || c == 0x7f; }))
        return std::nullopt;
    return std::string(address);
}

}  // namespace avo::web
