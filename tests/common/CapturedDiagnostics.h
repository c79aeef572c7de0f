#pragma once

#include <sstream>
#include <string_view>

#include "app/Shell.h"

namespace avo::testing {

// Collects the shell's diagnostic lines in a stream, one line each, for tests to read.
inline DiagnosticWriter CaptureInto(std::ostringstream& out) {
    return [&out](std::string_view line) { out << line << '\n'; };
}

}  // namespace avo::testing
