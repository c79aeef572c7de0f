#include <emscripten/emscripten.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ConformanceDriver.h"
#include "platform/web/WebWindowSystem.h"

// The page in Chromium, reached as a user reaches it: the mouse and keys come from the test
// harness (tests/web/conformance-harness.js) through the DevTools protocol, while this side
// waits for them without blocking the page. What the page shows is read from its document.
namespace {

// The page's side of these requests is tests/web/DriverPage.js.

// Sends one user action to the harness and resumes once Chromium has handled it.
EM_ASYNC_JS(void, avo_driver_input, (const char* request),
            { await AvoDriver.act(UTF8ToString(request)); });

// One turn of the page's loop, for whatever it has queued.
EM_ASYNC_JS(void, avo_driver_next_turn, (), { await AvoDriver.nextTurn(); });

EM_ASYNC_JS(void, avo_driver_frame, (), { await AvoDriver.frame(); });

EM_ASYNC_JS(std::uint32_t*, avo_driver_capture, (const char* selector, int* size),
            { return await AvoDriver.capture(UTF8ToString(selector), size); });

EM_ASYNC_JS(int, avo_driver_glyphs, (const char* selector, const char* text), {
    return await AvoDriver.hasGlyphs(UTF8ToString(selector), UTF8ToString(text)) ? 1 : 0;
});

// The centre of an element in the viewport, scrolled into view first; false where there is
// none. Where another window covers it, its window is first brought to the front, as a
// desktop task bar would: a user reaches a covered window that way, and one wholly covered by
// another (the About window behind the main window) no other way.
EM_JS(int, avo_driver_centre, (const char* selector, int* xy), {
    const element = document.querySelector(UTF8ToString(selector));
    if (!element) return 0;
    element.scrollIntoView({block : 'nearest'});
    let rect = element.getBoundingClientRect();
    const hit = document.elementFromPoint(rect.left + rect.width / 2, rect.top + rect.height / 2);
    if (!element.contains(hit)) {
        AvoPage.windows.forEach(function(form) {
            if (form.root.contains(element)) AvoPage.activate(form);
        });
        rect = element.getBoundingClientRect();
    }
    HEAP32[xy >> 2] = Math.round(rect.left + rect.width / 2);
    HEAP32[(xy >> 2) + 1] = Math.round(rect.top + rect.height / 2);
    return 1;
});

// Reads an element with a small script given the element (or null) as `e`; the answer is a
// string the caller frees.
EM_JS(char*, avo_driver_read, (const char* selector, const char* body), {
    const e = document.querySelector(UTF8ToString(selector));
    const answer = String(new Function('e', 'AvoPage', UTF8ToString(body))(e, AvoPage));
    return allocateUTF8(answer);
});

EM_JS(void, avo_driver_cover, (int on), {
    let cover = document.getElementById('other-program');
    if (cover) cover.remove();
    if (!on) return;
    cover = document.createElement('div');
    cover.id = 'other-program';
    cover.className = 'window';
    cover.dataset.window = 'other';
    cover.style.cssText = 'left:0;top:0;width:100%;height:100%;background:#888';
    cover.style.zIndex = String(AvoPage.nextZ++);
    AvoPage.activeId = 0;
    AvoPage.desktop.appendChild(cover);
});

std::string Selector(const std::string& window, const std::string& control = {}) {
    std::string selector = ".window[data-window=\"" + window + "\"]";
    if (!control.empty()) selector += " [data-name=\"" + control + "\"]";
    return selector;
}

std::string Read(const std::string& selector, const char* body) {
    char* answer = avo_driver_read(selector.c_str(), body);
    std::string text(answer);
    std::free(answer);
    return text;
}

int ReadNumber(const std::string& selector, const char* body) {
    return std::atoi(Read(selector, body).c_str());
}

// A page has no environment of its own: the harness puts a fuzz seed to replay into the page's
// address, and it is copied into the environment before any test reads it.
EM_JS(char*, avo_driver_address_setting, (const char* name), {
    const value = new URLSearchParams(location.search).get(UTF8ToString(name));
    return value ? allocateUTF8(value) : 0;
});

[[maybe_unused]] const bool kSeedFromAddress = [] {
    if (char* seed = avo_driver_address_setting("AVO_FUZZ_SEED")) {
        setenv("AVO_FUZZ_SEED", seed, 1);
        std::free(seed);
    }
    return true;
}();

}  // namespace

namespace avo::conformance {
namespace {

class WebDriver final : public Driver {
public:
    ~WebDriver() override { avo_driver_cover(0); }

    WindowSystem& System() override { return web_; }
    // The page handles input as it arrives and keeps nothing back for later, so only ticks
    // can be waiting. Where the page has had a turn within the last millisecond (as after any
    // input), a tick that fell due since is no different from one that falls due just after
    // this flush, so none is taken: a turn costs milliseconds, and the fuzzer flushes often.
    void Flush() override {
        if (emscripten_get_now() - lastTurn_ >= 1.0) avo_driver_next_turn();
        Turned();
    }
    // The page has laid out and drawn what it was told.
    void Pump() override {
        avo_driver_frame();
        Turned();
    }
    void Wait(std::chrono::milliseconds time) override {
        emscripten_sleep(static_cast<unsigned>(time.count()));
        Turned();
    }

    void Click(const std::string& window, const std::string& control) override {
        Mouse("click", Selector(window, control), 0, 0);
    }
    void PressDragOffRelease(const std::string& window, const std::string& control) override {
        Mouse("drag", Selector(window, control), 0, -400);
    }
    // The close box, or the close keys on a window without one (the key goes to the window
    // with the focus, which the front window has).
    void CloseCommand(const std::string& window) override {
        if (Read(Selector(window), "return !!e && !!e.querySelector('.closebox');") == "true") {
            Mouse("click", Selector(window) + " .closebox", 0, 0);
            return;
        }
        Mouse("click", Selector(window) + " .client", 0, 0);
        Send("key Alt+F4");
    }
    void ClickRow(const std::string& window, const std::string& control, int row) override {
        Mouse(
            "click",
            Selector(window, control) + " [role=option]:nth-child(" + std::to_string(row + 1) + ")",
            0, 0);
    }
    void Minimise(const std::string& window) override {
        Mouse("click", Selector(window) + " .captionbox", 0, 0);
    }
    // Dragged by the caption bar; a borderless window has none and stays where it is.
    void Move(const std::string& window, int left, int top) override {
        const PixelRect frame = Frame(window);
        const double scale = std::atof(Read("body", "return AvoPage.scale;").c_str());
        Mouse("drag", Selector(window) + " .caption", static_cast<int>((left - frame.Left) * scale),
              static_cast<int>((top - frame.Top) * scale));
    }
    void CoverWithOtherProgram() override { avo_driver_cover(1); }
    void PressKey(const std::string&, Key key) override {
        static const char* const names[] = {"Tab", "Shift+Tab", "Space", "Enter", "Escape"};
        Send(std::string("key ") + names[static_cast<int>(key)]);
    }

    bool IsShown(const std::string& window) override {
        return Read(Selector(window),
                    "return !!e && !e.hidden && !e.classList.contains('minimised');") == "true";
    }
    std::string FrontWindow() override {
        return Read("body",
                    "let f = null; for (const r of document.querySelectorAll('.window'))"
                    " if (!r.hidden && !r.classList.contains('minimised') && (!f || "
                    "+r.style.zIndex > +f.style.zIndex)) f = r;"
                    " return f ? f.dataset.window : '';");
    }
    std::string FocusedControl(const std::string& window) override {
        return Read(Selector(window),
                    "const a = document.activeElement;"
                    " return e && e.contains(a) && a.dataset.name ? a.dataset.name : '';");
    }
    PixelRect Frame(const std::string& window) override {
        const std::string root = Selector(window);
        return {ReadNumber(root, "return e ? e.offsetLeft : 0;"),
                ReadNumber(root, "return e ? e.offsetTop : 0;"),
                ReadNumber(root, "return e ? e.offsetWidth : 0;"),
                ReadNumber(root, "return e ? e.offsetHeight : 0;")};
    }
    PixelRect WorkArea() override {
        return {0, 0, ReadNumber("#desktop", "return e.offsetWidth;"),
                ReadNumber("#desktop", "return e.offsetHeight;")};
    }

    // What Chromium painted, the control's window brought up first where another covers it.
    std::optional<Picture> Capture(const std::string& window, const std::string& control) override {
        const std::string selector = Selector(window, control);
        int size[2] = {0, 0};
        std::uint32_t* pixels = avo_driver_centre(selector.c_str(), size)
                                    ? avo_driver_capture(selector.c_str(), size)
                                    : nullptr;
        if (!pixels) {
            ADD_FAILURE() << "no element for " << window << "." << control;
            return std::nullopt;
        }
        Picture picture{size[0], size[1], {pixels, pixels + size[0] * size[1]}};
        std::free(pixels);
        return picture;
    }
    std::optional<bool> HasGlyphs(const std::string& window, const std::string& control,
                                  const std::string& text) override {
        return avo_driver_glyphs(Selector(window, control).c_str(), text.c_str()) != 0;
    }
    std::optional<std::pair<int, int>> RowWidth(const std::string& window,
                                                const std::string& control, int row) override {
        const std::string option =
            Selector(window, control) + " [role=option]:nth-child(" + std::to_string(row + 1) + ")";
        const int text = ReadNumber(option,
                                    "const r = document.createRange(); r.selectNodeContents(e);"
                                    " return Math.ceil(r.getBoundingClientRect().width);");
        const int room =
            ReadNumber(option,
                       "const s = getComputedStyle(e);"
                       " return e.parentElement.clientWidth - parseFloat(s.paddingLeft)"
                       " - parseFloat(s.paddingRight);");
        return std::make_pair(text, room);
    }
    // A screen reader's press on a button is a click on its element, which Chromium's
    // accessibility action carries out the same way.
    bool PressAsScreenReader(const std::string& window, const std::string& control) override {
        return Read(Selector(window, control),
                    "if (!e || e.getAttribute('role') !== 'button') return false;"
                    " e.click(); return true;") == "true";
    }
    std::optional<std::string> AccessibleText(const std::string& window,
                                              const std::string& control) override {
        return Read(Selector(window, control), "return e ? e.textContent : '';");
    }

    // The browser runs the loop, so `loop` returns once the program has started; the action
    // follows, and the program has ended by itself once it has quit the window system.
    bool RunLoopWith(const std::function<void()>& action,
                     const std::function<void()>& loop) override {
        // A program that has quit and left no window has ended already.
        if (web_.WindowCount() > 0) quit_ = false;
        loop();
        action();
        for (int waited = 0; !quit_ && waited < 10000; waited += 20)
            Wait(std::chrono::milliseconds(20));
        return quit_;
    }
    int NativeWindows() override {
        Flush();
        return static_cast<int>(web_.WindowCount());
    }
    std::optional<std::vector<std::pair<std::string, std::string>>> ToolTips(
        const std::string& window) override {
        const std::string listed = Read(Selector(window),
                                        "return e ? [...e.querySelectorAll('[data-name][title]')]"
                                        ".map(c => c.dataset.name + '\\t' + c.title + '\\n')"
                                        ".join('') : '';");
        std::vector<std::pair<std::string, std::string>> tips;
        std::size_t start = 0;
        for (std::size_t end; (end = listed.find('\n', start)) != std::string::npos;
             start = end + 1) {
            const std::string line = listed.substr(start, end - start);
            const std::size_t tab = line.find('\t');
            tips.emplace_back(line.substr(0, tab), line.substr(tab + 1));
        }
        return tips;
    }
    // The name the page gives the control: its label, the text of the heading that labels it,
    // else its own text, as Chromium's accessibility tree computes it for these elements.
    std::optional<std::string> AccessibleName(const std::string& window,
                                              const std::string& control) override {
        const std::string name = Read(
            Selector(window, control),
            "if (!e) return 'avo: no such control'; const by = e.getAttribute('aria-labelledby');"
            " if (by) return document.getElementById(by).textContent;"
            " return e.getAttribute('aria-label') || e.textContent;");
        if (name == "avo: no such control") return std::nullopt;
        return name;
    }

private:
    void Mouse(const char* kind, const std::string& selector, int dx, int dy) {
        int xy[2] = {0, 0};
        if (!avo_driver_centre(selector.c_str(), xy)) return;
        const std::string request = std::string(kind) + " " + std::to_string(xy[0]) + " " +
                                    std::to_string(xy[1]) + " " + std::to_string(dx) + " " +
                                    std::to_string(dy);
        Send(request);
    }
    // One user action; the page has its turns while Chromium handles it.
    void Send(const std::string& request) {
        avo_driver_input(request.c_str());
        Turned();
    }
    void Turned() { lastTurn_ = emscripten_get_now(); }

    double lastTurn_ = 0;
    bool quit_ = false;
    web::WebWindowSystem web_{[this] { quit_ = true; }};
};

}  // namespace

const Backend& BackendUnderTest() {
    static const Backend web{"Web", [] { return std::make_unique<WebDriver>(); }};
    return web;
}

}  // namespace avo::conformance

// The harness reads the result from the console once every case has run.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::printf("avo-conformance-exit: %d\n", result);
    std::fflush(stdout);
    return result;
}
