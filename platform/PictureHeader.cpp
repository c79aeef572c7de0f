#include "platform/PictureHeader.h"

#include <cstddef>
#include <cstdint>

namespace avo {
namespace {

unsigned BigEndian16(std::span<const unsigned char> bytes, std::size_t at) {
    return (bytes[at] << 8) | bytes[at + 1];
}

unsigned LittleEndian16(std::span<const unsigned char> bytes, std::size_t at) {
    return bytes[at] | (bytes[at + 1] << 8);
}

bool IsStartOfFrame(unsigned marker) {
    // C0-CF are frames, except DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

std::optional<PictureHeader> ReadJpeg(std::span<const unsigned char> bytes) {
    std::size_t at = 2;  // after SOI
    while (at + 4 <= bytes.size()) {
        if (bytes[at] != 0xFF) return std::nullopt;
        const unsigned marker = bytes[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        const std::size_t length = BigEndian16(bytes, at + 2);
        if (length < 2 || at + 2 + length > bytes.size()) return std::nullopt;
        if (IsStartOfFrame(marker)) {
            if (length < 8) return std::nullopt;
            return PictureHeader{static_cast<int>(BigEndian16(bytes, at + 7)),
                                 static_cast<int>(BigEndian16(bytes, at + 5))};
        }
        if (marker == 0xDA) return std::nullopt;  // scan data before any frame header
        at += 2 + length;
    }
    return std::nullopt;
}

std::optional<PictureHeader> ReadIcon(std::span<const unsigned char> bytes) {
    const int count = static_cast<int>(LittleEndian16(bytes, 4));
    if (count == 0 || bytes.size() < 6 + 16u * count) return std::nullopt;
    PictureHeader largest{0, 0};
    for (int i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16u * i;
        const int width = bytes[entry] == 0 ? 256 : bytes[entry];
        const int height = bytes[entry + 1] == 0 ? 256 : bytes[entry + 1];
        if (width > largest.Width) {
            largest.Width = width;
            largest.Height = height;
        }
    }
    return largest;
}

}  // namespace

std::optional<PictureHeader> ReadPictureHeader(std::span<const unsigned char> bytes) {
    if (bytes.size() >= 4 && bytes[0] == 0xFF && bytes[1] == 0xD8) return ReadJpeg(bytes);
    if (bytes.size() >= 6 && LittleEndian16(bytes, 0) == 0 && LittleEndian16(bytes, 2) == 1) {
        return ReadIcon(bytes);
    }
    return std::nullopt;
}

}  // namespace avo
