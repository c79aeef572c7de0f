#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/PointSize.h"
#include "platform/Status.h"
#include "platform/WindowDescription.h"

namespace avo {

// The narrow seam between the program and a window system. The shell and the handlers see
// nothing else of Qt, Win32 or the simulated window system. Every operation reports a Status;
// the program's own wrappers (app/Window.h) turn a failure into a PlatformError.
//
// The rules below hold for every backend alike; tests/conformance holds each of them to
// these rules through real input. A backend comment may say how it keeps a rule, never a
// rule of its own.
//
// Input and events
// - A click is a press and a release of the primary button over the same control. A press
//   that is dragged off the control before its release is no click and reports nothing.
// - A row of a list that the user selects (mouse or keyboard) is reported as a Click on the
//   list, once per change. The program binds nothing to it; the report exists so that every
//   backend sees the same events.
// - Events arrive one at a time on the GUI thread, never while a handler runs, and never
//   from a window after its Destroy.
//
// Focus and keys (platform/Keyboard.h decides them; a backend only carries them out)
// - List boxes, picture buttons and picture boxes take the keyboard focus; labels and timers
//   never do. Tab and Shift+Tab move through the controls that take it in TabOrder, round.
// - When a window opens, the first of them in tab order has the focus: List1 in the main
//   window, the exit picture Picture1 (the only one) in the About window.
// - Space presses a focused picture button or picture box; Enter presses only a focused
//   picture box; Esc presses nothing (KeyPresses). A press by key is reported as a Click.
//
// Texts and fonts
// - Texts are shown and read back exactly as given: no trimming, no mnemonics, no rich text,
//   doubled and trailing spaces kept. A screen reader reads a label's text as its text, and
//   a control named by a heading keeps that heading as its name. Picture buttons and picture
//   boxes are buttons to a screen reader, whose press action clicks them.
// - A control without a font of its own uses kDefaultWindowFont (platform/WindowDefaults.h).
//   Every character of every text is drawn from a face that has a glyph for it.
// - A font size of zero or less is rejected with StatusInvalidArgument and changes nothing.
//   A size that the font system rounds is read back rounded.
//
// Labels
// - A label draws its text from the top of its box, aligned left, centred or right as
//   described, wrapped at word breaks; it has no vertical alignment. A single border is one
//   flat line, kLabelBorderPixels wide in kLabelBorderColour (black), not a sunken panel.
//
// Windows
// - Load builds the window hidden and places it once, by InitialPlacement
//   (platform/Placement.h): a window centred on its owner goes over the program's other
//   window that is on the screen, the active one first (ChooseOwner), else on the screen's
//   work area; a window larger than the work area keeps its top-left corner on it.
//   Named exception: under native Wayland the compositor places every window and decides
//   raising and activation; a window with an owner is made its transient child there, which
//   compositors place over the owner and keep in front of it.
// - Show makes the window visible, restores it when minimised, raises it above every other
//   window on the desktop (other programs' included) and activates it. Showing a window that
//   is up already does the same and nothing more.
// - Destroy takes the window off the screen at once and stops its timers; the native object
//   may be freed later, but nothing of it reports again. Destroying a destroyed window
//   answers StatusOk and does nothing more.
// - Timers fire every IntervalMs while enabled; enabling a stopped timer starts a fresh
//   interval, enabling a running one changes nothing.
//
// Statuses (platform/ControlStatus.h holds the table)
// - Show: StatusOk; StatusNotLoaded after Destroy. Destroy: StatusOk, a second time too.
// - A control operation answers StatusNotLoaded after Destroy, StatusInvalidArgument for an
//   index past the window's controls, StatusWrongKind for a control without the property
//   (SetText: labels only; IsRowSelected: lists only; the timer operations: timers only;
//   GetText and the font sizes: everything but timers), StatusInvalidArgument for a row
//   outside the list or a font size of zero or less, in that order; else StatusOk, or the
//   window system's own error when it fails to carry out what it may.
//
// Processes
// - StartProcess starts the program named at the front of the command line (quoted or up to
//   the first blank) without waiting. When it cannot, the status says why (StatusReason):
//   StatusFileNotFound when there is no such program, StatusAccessDenied when it may not be
//   run.

// Controls are addressed by their position in the window description's control list.
using ControlIndex = std::size_t;
// Events of the window itself (Load) use this index; their bindings name the control "Form".
inline constexpr ControlIndex kFormControl = static_cast<ControlIndex>(-1);

enum class Event { Click, Load, Timer };
const char* EventName(Event event);

// Implemented by the program: the window system reports a loaded window's user input and
// timer ticks here, one at a time, on the GUI thread.
class EventSink {
public:
    virtual void OnEvent(ControlIndex control, Event event) = 0;
    // The window system's own close command (close box, Alt+F4).
    virtual void OnCloseCommand() = 0;

protected:
    ~EventSink() = default;
};

// One loaded window with its controls. Destroying the object frees the native window; a
// backend defers that when one of the window's own callbacks is still on the stack.
class NativeWindow {
public:
    virtual ~NativeWindow() = default;

    // Visible, restored, raised above every other window and active.
    virtual Status Show() = 0;
    // Unload: gone from the screen, timers stopped, no more events reported. A second
    // Destroy answers StatusOk.
    virtual Status Destroy() = 0;

    virtual Status SetText(ControlIndex control, std::string_view text) = 0;
    virtual Status GetText(ControlIndex control, std::string& text) = 0;
    virtual Status IsRowSelected(ControlIndex control, int row, bool& selected) = 0;
    virtual Status GetFontSize(ControlIndex control, PointSize& size) = 0;
    // Sizes of zero or less fail with StatusInvalidArgument.
    virtual Status SetFontSize(ControlIndex control, PointSize size) = 0;
    virtual Status GetTimerEnabled(ControlIndex control, bool& enabled) = 0;
    virtual Status SetTimerEnabled(ControlIndex control, bool enabled) = 0;
};

// Show codes for StartProcess, as Windows numbers them.
inline constexpr int kShowMinimizedActivated = 2;  // SW_SHOWMINIMIZED

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Builds a window and its controls from the description, hidden. Events go to sink,
    // which outlives the window.
    virtual Status Load(const WindowDescription& description, EventSink& sink,
                        std::unique_ptr<NativeWindow>& window) = 0;
    // Starts a program from a command line without waiting for it.
    virtual Status StartProcess(std::string_view commandLine, int showCode,
                                std::uint32_t& processId) = 0;
    // The program that StartProcess runs for a command line, as a report names it; empty
    // where that is the one at the front of the line.
    virtual std::string ProgramStartedBy(std::string_view /*commandLine*/) const { return {}; }
    // Dispatches events until Quit is called.
    virtual void RunEventLoop() = 0;
    // Makes RunEventLoop return once the current event has been handled.
    virtual void Quit() = 0;
};

// Each window-system backend that builds the program provides this, for a program that opens
// with startUpWindow. The program takes no arguments: a backend sees only its name. Null when
// the window system cannot be reached at all, after saying why on standard error.
std::unique_ptr<WindowSystem> CreateWindowSystem(const char* programName,
                                                 const WindowDescription& startUpWindow);

}  // namespace avo
