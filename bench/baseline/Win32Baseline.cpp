// The floor of a Win32 program: a window of the main window's client size with a 49-row
// list box, one static label and a button, and nothing else. The button opens the floor of
// the About window: a bare 560 x 349 popup whose one label pulsates, one point every 30 ms.
// The benchmarks compare the Windows program against it. Linked with the program's manifest
// (avo-win32-manifest-baseline) it is what any program with today's look and per-monitor DPI
// costs. Built with AVO_BASELINE_WIC it also decodes the embedded background picture with
// WIC and paints it, which prices that decoder on its own; with AVO_BASELINE_PICTURE it
// decodes and paints it with the program's own decoder, and with AVO_BASELINE_FACES the
// list and the label use the program's faces: each prices one thing the program does more.

#include <windows.h>

#include <string>

#include "reference/CommandCatalogue.h"

#ifdef AVO_BASELINE_WIC
#include <initguid.h>
#include <wincodec.h>
#endif
#if defined(AVO_BASELINE_WIC) || defined(AVO_BASELINE_PICTURE)
#include "EmbeddedPictures.h"
#define AVO_BASELINE_BACKGROUND
#endif
#ifdef AVO_BASELINE_PICTURE
#include "platform/win32/PictureDecoder.h"
#endif

namespace {

#ifdef AVO_BASELINE_BACKGROUND
HBITMAP background = nullptr;
#endif

#ifdef AVO_BASELINE_PICTURE
HBITMAP DecodeBackground() {
    static avo::win32::UniqueBitmap bitmap;
    avo::win32::PictureDecoder().Decode(avo::pictures::Form1BackgroundJpg, 648, 472, bitmap);
    return bitmap.get();
}
#endif

#ifdef AVO_BASELINE_WIC

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
#endif

#ifdef AVO_BASELINE_BACKGROUND
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

constexpr UINT_PTR kPulseTimer = 1;
constexpr int kAboutButton = 100;

// The same cycle as the maker's name: up to 20 points, down to 2, one point per tick.
struct Pulse {
    HWND Label = nullptr;
    HFONT Font = nullptr;
    int Points = 2;
    int Step = 1;
} pulse;

void SetPulseFont(int points) {
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    HFONT font = CreateFontW(height, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                             0, L"Tahoma");
    SendMessageW(pulse.Label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (pulse.Font) DeleteObject(pulse.Font);
    pulse.Font = font;
}

LRESULT CALLBACK AboutProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kPulseTimer) {
        if (pulse.Points + pulse.Step > 20 || pulse.Points + pulse.Step < 2)
            pulse.Step = -pulse.Step;
        pulse.Points += pulse.Step;
        SetPulseFont(pulse.Points);
        return 0;
    }
    if (message == WM_DESTROY) {
        KillTimer(window, kPulseTimer);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void OpenAbout(HWND owner) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE));
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = AboutProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"AvoWin32BaselineAbout";
    RegisterClassW(&windowClass);
    HWND about = CreateWindowW(L"AvoWin32BaselineAbout", L"About baseline", WS_POPUP, 100, 100, 560,
                               349, owner, nullptr, instance, nullptr);
    pulse.Label = CreateWindowW(L"STATIC", L"Kavrelonix", WS_CHILD | WS_VISIBLE | SS_CENTER, 160,
                                144, 289, 73, about, nullptr, instance, nullptr);
    SetPulseFont(pulse.Points);
    ShowWindow(about, SW_SHOW);
    SetTimer(about, kPulseTimer, 30, nullptr);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == kAboutButton && !pulse.Label) {
        OpenAbout(window);
        return 0;
    }
#ifdef AVO_BASELINE_BACKGROUND
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

#ifdef AVO_BASELINE_FACES
// A face as the program asks for it: hundredths of a point, in the Turkish character set.
HFONT ProgramFace(const wchar_t* face, int hundredths, int weight, bool italic) {
    HDC screen = GetDC(nullptr);
    const int height = -MulDiv(hundredths, GetDeviceCaps(screen, LOGPIXELSY), 7200);
    ReleaseDC(nullptr, screen);
    return CreateFontW(height, 0, 0, 0, weight, italic, FALSE, FALSE, TURKISH_CHARSET, 0, 0, 0, 0,
                       face);
}

void UseProgramFaces(HWND list, HWND label) {
    SendMessageW(list, WM_SETFONT,
                 reinterpret_cast<WPARAM>(ProgramFace(L"MS Sans Serif", 825, FW_NORMAL, false)),
                 FALSE);
    SendMessageW(label, WM_SETFONT,
                 reinterpret_cast<WPARAM>(ProgramFace(L"Tahoma", 975, FW_BOLD, true)), FALSE);
}
#endif

void AddControls(HWND window, HINSTANCE instance) {
    HWND list = CreateWindowW(L"LISTBOX", nullptr,
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | LBS_NOTIFY, 56, 200,
                              121, 212, window, nullptr, instance, nullptr);
    for (const avo::CommandEntry& entry : avo::CommandCatalogue) {
        SendMessageW(list, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Widen(entry.ListText).c_str()));
    }
    HWND label = CreateWindowW(L"STATIC", L"KISAYOL", WS_CHILD | WS_VISIBLE | SS_CENTER, 344, 208,
                               249, 73, window, nullptr, instance, nullptr);
#ifdef AVO_BASELINE_FACES
    UseProgramFaces(list, label);
#else
    (void)label;
#endif
    // Where the program has its About button.
    CreateWindowW(L"BUTTON", L"Hakkında", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 192, 344, 129, 25,
                  window, reinterpret_cast<HMENU>(kAboutButton), instance, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
#ifdef AVO_BASELINE_BACKGROUND
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
