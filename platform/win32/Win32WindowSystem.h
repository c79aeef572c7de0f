#pragma once

#include <windows.h>

#include "platform/WindowSystem.h"
#include "platform/win32/PictureDecoder.h"

namespace avo::win32 {

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

    HINSTANCE instance_;
    int dpi_;
    PictureDecoder pictures_;
};

}  // namespace avo::win32
