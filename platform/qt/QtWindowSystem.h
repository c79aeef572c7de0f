#pragma once

#include <memory>

#include "platform/WindowSystem.h"

class QApplication;
class QEventLoop;

namespace avo::qt {

// The Linux program's window system: Qt Widgets, one top-level widget per loaded window,
// processes started detached.
class QtWindowSystem final : public WindowSystem {
public:
    // Works with the application object that exists already (a test's), or with the one it
    // is given and then owns (the program's).
    explicit QtWindowSystem(std::unique_ptr<QApplication> application = nullptr);
    // Frees the windows that were waiting for the event loop to free them.
    ~QtWindowSystem() override;

    Status Load(const WindowDescription& description, EventSink& sink,
                std::unique_ptr<NativeWindow>& window) override;
    Status StartProcess(std::string_view commandLine, int showCode,
                        std::uint32_t& processId) override;
    // The opener found on PATH, else its name.
    std::string ProgramStartedBy(std::string_view commandLine) const override;
    void RunEventLoop() override;
    void Quit() override;

private:
    std::unique_ptr<QApplication> application_;
    QEventLoop* loop_ = nullptr;
    bool quitRequested_ = false;
};

}  // namespace avo::qt
