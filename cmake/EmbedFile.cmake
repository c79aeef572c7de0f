# Writes one file's bytes as a C++ EmbeddedFile definition (run by avo_embed_files).
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){24})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${NAME} by cmake/EmbedFile.cmake.
#include \"platform/EmbeddedFile.h\"

namespace avo::pictures {
namespace {
const unsigned char kBytes[${size}] = {
    ${bytes}
};
}  // namespace

extern const EmbeddedFile ${SYMBOL}{\"${NAME}\", {kBytes, sizeof kBytes}};
}  // namespace avo::pictures
")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
