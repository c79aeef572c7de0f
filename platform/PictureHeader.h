#pragma once

#include <optional>
#include <span>

namespace avo {

// What a picture file's header says, read without decoding the pixels.
struct PictureHeader {
    enum class Format { Jpeg, Icon } Kind;
    int Width;
    int Height;
    int Components;  // JPEG colour components; 0 for icons
    bool Baseline;   // JPEG: baseline sequential (SOF0), 8 bits per sample
    int Images;      // icons: entries in the directory; 1 for JPEG
};

// The header of a JPEG (its frame) or an ICO file (its largest entry); nothing when the
// bytes are neither or are cut short.
std::optional<PictureHeader> ReadPictureHeader(std::span<const unsigned char> bytes);

}  // namespace avo
