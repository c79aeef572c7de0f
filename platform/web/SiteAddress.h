#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace avo::web {

// The page can start no program; what the program's command lines ask for that a page can
// do is open a web address. The Windows shell program (explorer.exe, quoted or with a path,
// in any letter case) hands its argument to the browser; in a page that becomes a new tab.
// Only http and https addresses are opened, so that no command line can run script in the
// page. Nothing when the line asks for anything else.
std::optional<std::string> SiteAddressOf(std::string_view commandLine);

}  // namespace avo::web
