#pragma once

#include "platform/EmbeddedFile.h"
#include "platform/Status.h"
#include "platform/win32/Handles.h"

namespace avo::win32 {

// Decodes the embedded JPEG pictures with a small built-in decoder (stb_image). The Windows
// Imaging Component would do the same, but loading it pulls in COM and five more DLLs
// before the first window can show, which cost more start-up time than the decoding itself.
class PictureDecoder {
public:
    // A 24-bit device-independent bitmap of exactly width x height pixels: the picture at its
    // natural size, or scaled smoothly when the screen's DPI asks for another size. 24 bits,
    // not 32, so that no control mistakes the padding byte for transparency.
    Status Decode(const EmbeddedFile& file, int width, int height, UniqueBitmap& bitmap);
};

}  // namespace avo::win32
