#pragma once

#include <wincodec.h>

#include "platform/EmbeddedFile.h"
#include "platform/Status.h"
#include "platform/win32/Handles.h"

namespace avo::win32 {

// Decodes the embedded JPEG pictures with the Windows Imaging Component, which every
// Windows since XP SP3 (and Wine) ships, so the executable carries no decoder of its own.
// Needs COM initialised on the calling thread.
class PictureDecoder {
public:
    // A 24-bit device-independent bitmap of exactly width x height pixels: the picture at its
    // natural size, or scaled when the screen's DPI asks for more pixels. 24 bits, not 32, so
    // that no control mistakes the padding byte for transparency.
    Status Decode(const EmbeddedFile& file, int width, int height, UniqueBitmap& bitmap);

private:
    Status Factory(IWICImagingFactory*& factory);
    Status Convert(IWICBitmapSource* frame, int width, int height,
                   ComPtr<IWICFormatConverter>& converted);

    ComPtr<IWICImagingFactory> factory_;
};

}  // namespace avo::win32
