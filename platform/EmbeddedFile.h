#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace avo {

// A file carried inside the executable: the build turns each picture into one of these
// (see cmake/EmbedFiles.cmake), the same way on every platform.
struct EmbeddedFile {
    std::string_view Name;
    std::span<const unsigned char> Bytes;
};

}  // namespace avo
