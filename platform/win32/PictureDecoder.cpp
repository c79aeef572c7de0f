#include "platform/win32/PictureDecoder.h"

#include <cstdlib>
#include <memory>
#include <vector>

// The decoder is compiled into this one file, for baseline and progressive JPEG only.
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#define STB_IMAGE_RESIZE_STATIC
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb_image_resize.h>

namespace avo::win32 {
namespace {

constexpr int kChannels = 3;

struct StbiFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};
using DecodedPixels = std::unique_ptr<stbi_uc, StbiFree>;

// Rows of a 24-bit DIB are padded to whole 32-bit words.
int DibStride(int width) { return (width * kChannels + 3) & ~3; }

// Copies top-down RGB rows into a top-down DIB, which stores each pixel as B, G, R.
void CopyAsBgr(const stbi_uc* rgb, int width, int height, unsigned char* dib) {
    for (int y = 0; y < height; ++y) {
        const stbi_uc* from = rgb + static_cast<std::size_t>(y) * width * kChannels;
        unsigned char* to = dib + static_cast<std::size_t>(y) * DibStride(width);
        for (int x = 0; x < width; ++x, from += kChannels, to += kChannels) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
}

UniqueBitmap CreateTopDownDib(int width, int height, unsigned char*& bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, the order the decoder writes rows in
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* memory = nullptr;
    UniqueBitmap dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0));
    bits = static_cast<unsigned char*>(memory);
    return dib;
}

}  // namespace

Status PictureDecoder::Decode(const EmbeddedFile& file, int width, int height,
                              UniqueBitmap& bitmap) {
    if (width <= 0 || height <= 0) return StatusInvalidArgument;
    int naturalWidth = 0;
    int naturalHeight = 0;
    DecodedPixels natural(stbi_load_from_memory(file.Bytes.data(),
                                                static_cast<int>(file.Bytes.size()), &naturalWidth,
                                                &naturalHeight, nullptr, kChannels));
    // Bytes that are no JPEG this decoder reads are a fault in the embedded data.
    if (!natural) return StatusInvalidArgument;

    const stbi_uc* rgb = natural.get();
    std::vector<stbi_uc> scaled;
    if (naturalWidth != width || naturalHeight != height) {
        scaled.resize(static_cast<std::size_t>(width) * height * kChannels);
        if (!stbir_resize_uint8_srgb(natural.get(), naturalWidth, naturalHeight, 0, scaled.data(),
                                     width, height, 0, kChannels, STBIR_ALPHA_CHANNEL_NONE, 0)) {
            return StatusOutOfMemory;
        }
        rgb = scaled.data();
    }

    unsigned char* bits = nullptr;
    UniqueBitmap dib = CreateTopDownDib(width, height, bits);
    if (!dib) return StatusOutOfMemory;
    CopyAsBgr(rgb, width, height, bits);
    GdiFlush();
    bitmap = std::move(dib);
    return StatusOk;
}

}  // namespace avo::win32
