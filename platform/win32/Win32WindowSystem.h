#pragma once

#include <windows.h>
#include <objbase.h>

#include "platform/WindowSystem.h"
#include "platform/win32/PictureDecoder.h"

namespace avo::win32 {

// COM for the current thread, for as long as the owner lives.
class ComApartment {
public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() { if (SUCCEEDED(result_)) CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

// The Windows program's window system: plain Win32 windows, common controls and GDI, on the
// thread that creates it.
class Win32WindowSystem final : public WindowSystem {
public:
    Win32WindowSystem();
    ~Win32WindowSystem() override;
    Win32WindowSystem(const Win32WindowSystem&) = delete;
    Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

    Status Load(const WindowDescription& description, EventSink& sink,
                std::unique_ptr<NativeWindow>& window) override;
    Status StartProcess(std::string_view commandLine, int showCode,
                        std::uint32_t& processId) override;
    void RunEventLoop() override;
    void Quit() override;

    // Handles every message already waiting, as the event loop would, and returns; false
    // when Quit had been called (the quit request is then used up).
    bool ProcessPendingMessages();
    int Dpi() const { return dpi_; }

private:
    static void Route(MSG& message);

    ComApartment apartment_;
    HINSTANCE instance_;
    int dpi_;
    PictureDecoder pictures_;
};

}  // namespace avo::win32
