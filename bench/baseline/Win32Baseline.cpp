// The floor of a Win32 program: a window of the main window's client size with a 49-row
// list box and one static label, and nothing else. The start-up benchmark compares the
// Windows program against it. Built with AVO_BASELINE_WIC it also decodes the embedded
// background picture with WIC and paints it, which prices that decoder on its own.

#include <windows.h>

#include <string>

#include "reference/CommandCatalogue.h"

#ifdef AVO_BASELINE_WIC
#include <initguid.h>
#include <wincodec.h>

#include "EmbeddedPictures.h"
#endif

namespace {

#ifdef AVO_BASELINE_WIC
HBITMAP background = nullptr;

// The same steps as a program that decodes its JPEG with WIC: factory, stream, frame,
// conversion to 24-bit BGR, a DIB section.
HBITMAP DecodeBackground() {
    const auto bytes = avo::pictures::Form1BackgroundJpg.Bytes;
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    HBITMAP dib = nullptr;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
        SUCCEEDED(factory->CreateStream(&stream)) &&
        SUCCEEDED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()),
                                               static_cast<DWORD>(bytes.size()))) &&
        SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand,
                                                   &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) &&
        SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone,
                                        nullptr, 0, WICBitmapPaletteTypeCustom))) {
        UINT width = 0, height = 0;
        converter->GetSize(&width, &height);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader,
                          static_cast<LONG>(width),
                          -static_cast<LONG>(height),
                          1,
                          24,
                          BI_RGB};
        void* bits = nullptr;
        dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const UINT stride = (width * 3 + 3) & ~3u;
        if (dib) converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits));
    }
    for (IUnknown* object : {static_cast<IUnknown*>(converter), static_cast<IUnknown*>(frame),
                             static_cast<IUnknown*>(decoder), static_cast<IUnknown*>(stream),
                             static_cast<IUnknown*>(factory)}) {
        if (object) object->Release();
    }
    return dib;
}

void PaintBackground(HWND window) {
    PAINTSTRUCT paint;
    HDC target = BeginPaint(window, &paint);
    HDC source = CreateCompatibleDC(target);
    HGDIOBJ previous = SelectObject(source, background);
    BitBlt(target, 0, 0, 648, 472, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    EndPaint(window, &paint);
}
#endif

std::wstring Widen(std::string_view utf8) {
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        length);
    return wide;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
#ifdef AVO_BASELINE_WIC
    if (message == WM_PAINT && background) {
        PaintBackground(window);
        return 0;
    }
#endif
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateMainWindow(HINSTANCE instance) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"AvoWin32Baseline";
    RegisterClassW(&windowClass);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, 649, 471};  // the client size of the program's main window
    AdjustWindowRect(&frame, style, FALSE);
    return CreateWindowW(L"AvoWin32Baseline", L"Win32 baseline", style, CW_USEDEFAULT,
                         CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                         nullptr, instance, nullptr);
}

void AddControls(HWND window, HINSTANCE instance) {
    HWND list = CreateWindowW(L"LISTBOX", nullptr,
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | LBS_NOTIFY, 56, 200,
                              121, 212, window, nullptr, instance, nullptr);
    for (const avo::CommandEntry& entry : avo::CommandCatalogue) {
        SendMessageW(list, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Widen(entry.ListText).c_str()));
    }
    CreateWindowW(L"STATIC", L"KISAYOL", WS_CHILD | WS_VISIBLE | SS_CENTER, 344, 208, 249, 73,
                  window, nullptr, instance, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
#ifdef AVO_BASELINE_WIC
    background = DecodeBackground();
#endif
    HWND window = CreateMainWindow(instance);
    AddControls(window, instance);
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
