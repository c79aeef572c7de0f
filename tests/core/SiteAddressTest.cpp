#include "platform/web/SiteAddress.h"

#include <gtest/gtest.h>

#include <string>

namespace avo::web {
namespace {

using namespace std::string_literals;

// The page opens what the shell program would hand to a browser, and only http(s): nothing
// that could run script in a tab, read the disk or smuggle a second line past the check.
TEST(SiteAddress, OpensOnlyTheShellProgramsWebAddresses) {
    // clang-format off
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"explorer.exe http://www.kavrelonix.example", "http://www.kavrelonix.example"},
        {"explorer https://www.kavrelonix.example/a?b=c", "https://www.kavrelonix.example/a?b=c"},
        {"EXPLORER.EXE HTTPS://WWW.KAVRELONIX.EXAMPLE", "HTTPS://WWW.KAVRELONIX.EXAMPLE"},
        {"\"C:\\Windows\\explorer.exe\" http://kavrelonix.example", "http://kavrelonix.example"},
        {"  \texplorer.exe  \t http://kavrelonix.example \t ", "http://kavrelonix.example"},
        {"explorer.exe javascript:alert(1)", std::nullopt},
        {"explorer.exe JavaScript:alert(1)//http://kavrelonix.example", std::nullopt},
        {"explorer.exe data:text/html,<script>alert(1)</script>", std::nullopt},
        {"explorer.exe file:///etc/passwd", std::nullopt},
        {"explorer.exe httpx://kavrelonix.example", std::nullopt},
        {"explorer.exe //kavrelonix.example", std::nullopt},
        {"explorer.exe kavrelonix.example", std::nullopt},
        {"notepad.exe http://kavrelonix.example", std::nullopt},
        {"explorer.exe.bat http://kavrelonix.example", std::nullopt},
        {"explorer.exe", std::nullopt},
        {"explorer.exe   ", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"explorer.exe http://kavrelonix.example javascript:alert(1)", std::nullopt},
        {"explorer.exe http://kavrelonix.example\r\njavascript:alert(1)", std::nullopt},
        {"explorer.exe http://kavrelonix.example\njavascript:alert(1)", std::nullopt},
        {"explorer.exe \x01javascript:alert(1)", std::nullopt},
        {"explorer.exe http://kavrelonix.example/\x01", std::nullopt},
        {"explorer.exe http://kavrelonix.example/\x1b[2J", std::nullopt},
        {"explorer.exe http://kavrelonix.example/\x7f", std::nullopt},
        {"explorer.exe http://kavrelonix.example\0javascript:alert(1)"s, std::nullopt},
    };
    // clang-format on
    for (const auto& [line, address] : cases) {
        EXPECT_EQ(SiteAddressOf(line), address) << '"' << line << '"';
    }
}

}  // namespace
}  // namespace avo::web
