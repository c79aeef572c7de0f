#pragma once

#include <optional>
#include <span>

namespace avo {

// A picture file's size as its header gives it, read without decoding the pixels.
struct PictureHeader {
    int Width;
    int Height;
};

// The header of a JPEG (its frame) or an ICO file (its largest entry); nothing when the
// bytes are neither or are cut short.
std::optional<PictureHeader> ReadPictureHeader(std::span<const unsigned char> bytes);

}  // namespace avo
