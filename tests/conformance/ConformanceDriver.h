#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Keyboard.h"
#include "platform/WindowDefaults.h"
#include "platform/WindowSystem.h"

namespace avo::sim {
class SimWindowSystem;
}

namespace avo::conformance {

// A control's face as drawn, row by row, as 0x00RRGGBB values.
struct Picture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Pixels;
    std::uint32_t At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
};

// Reaches one window system as a user and a screen reader would: real input on real
// controls, and what the screen shows. Windows and controls are named as in their
// descriptions. Each window system has one (SimDriver, QtDriver, Win32Driver).
class Driver {
public:
    virtual ~Driver() = default;

    virtual WindowSystem& System() = 0;
    // Handles whatever input and ticks are waiting, then returns at once.
    virtual void Flush() = 0;
    // Handles events for long enough that the X server and the window manager have answered
    // (mapping, stacking, activation).
    virtual void Pump() = 0;
    // Lets time pass for timers: a virtual clock moves on, a real one is waited for.
    virtual void Wait(std::chrono::milliseconds time) = 0;

    // Input. The primary button goes down and up over the control.
    virtual void Click(const std::string& window, const std::string& control) = 0;
    // The button goes down over the control, the pointer leaves it, the button comes up.
    virtual void PressDragOffRelease(const std::string& window, const std::string& control) = 0;
    // The window system's own close command (the close box).
    virtual void CloseCommand(const std::string& window) = 0;
    // A click on a list row, scrolled into view first.
    virtual void ClickRow(const std::string& window, const std::string& control, int row) = 0;
    virtual void Minimise(const std::string& window) = 0;
    // The user drags the window so that its frame's top-left corner is at (left, top).
    virtual void Move(const std::string& window, int left, int top) = 0;
    // Another program's window comes up over everything of ours.
    virtual void CoverWithOtherProgram() = 0;
    // The key goes down and up on the window's focused control.
    virtual void PressKey(const std::string& window, Key key) = 0;

    // What the screen shows.
    virtual bool IsShown(const std::string& window) = 0;  // visible and not minimised
    // The topmost of our windows and the other program's ("other" for that one).
    virtual std::string FrontWindow() = 0;
    virtual std::string FocusedControl(const std::string& window) = 0;
    virtual PixelRect Frame(const std::string& window) = 0;  // title bar and border included
    virtual PixelRect WorkArea() = 0;

    // Reached only where a window system draws real pixels and fonts; nullopt elsewhere.
    virtual std::optional<Picture> Capture(const std::string& window,
                                           const std::string& control) = 0;
    // Whether the font that draws the control has a glyph for every character of text.
    virtual std::optional<bool> HasGlyphs(const std::string& window, const std::string& control,
                                          const std::string& text) = 0;
    // How wide a row's text is drawn and how wide the list's rows may be beside its
    // scroll bar, in pixels.
    virtual std::optional<std::pair<int, int>> RowWidth(const std::string& window,
                                                        const std::string& control, int row) = 0;
    // Presses the control as a screen reader does (its default or press action); false when
    // the control offers none.
    virtual bool PressAsScreenReader(const std::string& window, const std::string& control) = 0;
    // What a screen reader reads as the control's text.
    virtual std::optional<std::string> AccessibleText(const std::string& window,
                                                      const std::string& control) = 0;

    // The program as a whole. Calls `loop`, which runs the event loop, and does `action` from
    // inside it; true when the loop has ended by itself within ten seconds.
    virtual bool RunLoopWith(const std::function<void()>& action,
                             const std::function<void()>& loop) = 0;
    // How many of our windows still exist natively; an unloaded one counts until it is freed
    // at the next safe moment.
    virtual int NativeWindows() = 0;
    // The simulated window system behind the driver, for failures injected on purpose, its
    // record of calls and its virtual clock (no tick falls due between two steps); null for
    // a real one.
    virtual sim::SimWindowSystem* Simulated() { return nullptr; }

    // Every tip that the window's controls bring up under a resting pointer, as (control,
    // text) in the controls' order; nullopt where the window system shows no tips.
    virtual std::optional<std::vector<std::pair<std::string, std::string>>> ToolTips(
        const std::string& window) = 0;
    // What a screen reader calls the control; nullopt where it finds no object for it.
    virtual std::optional<std::string> AccessibleName(const std::string& window,
                                                      const std::string& control) = 0;
};

using DriverFactory = std::function<std::unique_ptr<Driver>()>;

// One window system under test: its name in the test names and how to reach it.
struct Backend {
    const char* Name;
    DriverFactory Create;
};

// The window system that this test program drives; each driver file defines it.
const Backend& BackendUnderTest();

}  // namespace avo::conformance
