#include <initguid.h>

#include "platform/win32/PictureDecoder.h"

namespace avo::win32 {
namespace {

Status StatusFromResult(HRESULT result) { return static_cast<Status>(result); }

// Rows of a 24-bit DIB are padded to whole 32-bit words.
UINT DibStride(int width) { return (static_cast<UINT>(width) * 3 + 3) & ~3u; }

}  // namespace

Status PictureDecoder::Decode(const EmbeddedFile& file, int width, int height,
                              UniqueBitmap& bitmap) {
    IWICImagingFactory* factory = nullptr;
    if (Status status = Factory(factory); Failed(status)) return status;

    ComPtr<IWICStream> stream;
    HRESULT result = factory->CreateStream(stream.Put());
    // WIC only reads from the buffer; its signature merely lacks the const.
    if (SUCCEEDED(result)) {
        result = stream->InitializeFromMemory(const_cast<BYTE*>(file.Bytes.data()),
                                              static_cast<DWORD>(file.Bytes.size()));
    }
    ComPtr<IWICBitmapDecoder> decoder;
    if (SUCCEEDED(result)) {
        result = factory->CreateDecoderFromStream(stream.Get(), nullptr,
                                                  WICDecodeMetadataCacheOnDemand, decoder.Put());
    }
    ComPtr<IWICBitmapFrameDecode> frame;
    if (SUCCEEDED(result)) result = decoder->GetFrame(0, frame.Put());
    if (FAILED(result)) return StatusFromResult(result);

    ComPtr<IWICFormatConverter> pixels;
    if (Status status = Convert(frame.Get(), width, height, pixels); Failed(status)) return status;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, the order WIC copies rows in
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib) return StatusOutOfMemory;
    const UINT stride = DibStride(width);
    result = pixels->CopyPixels(nullptr, stride, stride * static_cast<UINT>(height),
                                static_cast<BYTE*>(bits));
    if (FAILED(result)) return StatusFromResult(result);
    GdiFlush();
    bitmap = std::move(dib);
    return StatusOk;
}

Status PictureDecoder::Factory(IWICImagingFactory*& factory) {
    if (!factory_) {
        const HRESULT result = CoCreateInstance(CLSID_WICImagingFactory, nullptr,
                                                CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                                reinterpret_cast<void**>(factory_.Put()));
        if (FAILED(result)) return StatusFromResult(result);
    }
    factory = factory_.Get();
    return StatusOk;
}

Status PictureDecoder::Convert(IWICBitmapSource* frame, int width, int height,
                               ComPtr<IWICFormatConverter>& converted) {
    UINT naturalWidth = 0;
    UINT naturalHeight = 0;
    HRESULT result = frame->GetSize(&naturalWidth, &naturalHeight);
    if (FAILED(result)) return StatusFromResult(result);

    IWICBitmapSource* source = frame;
    ComPtr<IWICBitmapScaler> scaler;
    if (naturalWidth != static_cast<UINT>(width) || naturalHeight != static_cast<UINT>(height)) {
        result = factory_->CreateBitmapScaler(scaler.Put());
        if (SUCCEEDED(result)) {
            result = scaler->Initialize(frame, static_cast<UINT>(width),
                                        static_cast<UINT>(height), WICBitmapInterpolationModeFant);
        }
        if (FAILED(result)) return StatusFromResult(result);
        source = scaler.Get();
    }
    result = factory_->CreateFormatConverter(converted.Put());
    if (SUCCEEDED(result)) {
        result = converted->Initialize(source, GUID_WICPixelFormat24bppBGR,
                                       WICBitmapDitherTypeNone, nullptr, 0.0,
                                       WICBitmapPaletteTypeCustom);
    }
    return StatusFromResult(FAILED(result) ? result : S_OK);
}

}  // namespace avo::win32
