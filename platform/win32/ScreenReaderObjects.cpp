#include "platform/win32/ScreenReaderObjects.h"

#include <commctrl.h>
#include <oleacc.h>

#include <atomic>
#include <new>
#include <string>

#include "platform/AccessibleNames.h"
#include "platform/win32/Handles.h"
#include "platform/win32/ScreenReaderLibrary.h"
#include "platform/win32/WideText.h"

namespace avo::win32 {
namespace {

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT ReturnText(const ScreenReaderLibrary& library, const std::wstring& text, BSTR* result) {
    if (!result) return E_POINTER;
    *result = library.SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *result ? S_OK : E_OUTOFMEMORY;
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// What a picture box says its default action is: "press", in the program's language.
constexpr wchar_t kPressAction[] = L"Bas";

// The system's standard object for the window with a few answers of the control's own.
// Wine's oleacc does not implement Dynamic Annotation (IAccPropServices::SetHwndPropStr), so
// the window hands this out through WM_GETOBJECT instead; Windows' screen readers ask the
// same way.
class ControlAccessible final : public IAccessible, public IOleWindow {
public:
    ControlAccessible(const ScreenReaderLibrary& library, HWND window,
                      const ControlDescription& control, ComPtr<IAccessible> standard)
        : library_(library),
          window_(window),
          kind_(control.Kind),
          heading_(Widen(control.AccessibleName)),
          standard_(std::move(standard)) {}
    ControlAccessible(const ControlAccessible&) = delete;
    ControlAccessible& operator=(const ControlAccessible&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
        } else if (iid == IID_IOleWindow) {
            *object = static_cast<IOleWindow*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // IOleWindow: which window this object stands for.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (!window) return E_POINTER;
        *window = window_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IDispatch: late-bound callers would bypass the two answers below, so there is none.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // A label's own answers: its heading, and the text it shows.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child) || !IsLabel()) return standard_->get_accName(child, name);
        return ReturnText(library_, heading_, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (!IsSelf(child) || !IsLabel()) return standard_->get_accValue(child, value);
        if (!IsWindow(window_)) return CO_E_OBJNOTCONNECTED;
        return ReturnText(library_, WindowText(window_), value);
    }

    // A picture box's own answers: it is a button, and pressing it clicks it.
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!IsSelf(child) || IsLabel()) return standard_->get_accRole(child, role);
        if (!role) return E_POINTER;
        role->vt = VT_I4;
        role->lVal = ROLE_SYSTEM_PUSHBUTTON;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (!IsSelf(child) || IsLabel()) return standard_->get_accDefaultAction(child, action);
        return ReturnText(library_, kPressAction, action);
    }
    // Posted, not sent: the click may unload the window, and a screen reader must not wait
    // on the program's handler.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!IsSelf(child) || IsLabel()) return standard_->accDoDefaultAction(child);
        if (!IsWindow(window_)) return CO_E_OBJNOTCONNECTED;
        const WPARAM command = MAKEWPARAM(GetDlgCtrlID(window_), BN_CLICKED);
        return PostMessageW(GetParent(window_), WM_COMMAND, command,
                            reinterpret_cast<LPARAM>(window_))
                   ? S_OK
                   : E_FAIL;
    }

    // Everything else as the system answers it.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return standard_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return standard_->get_accKeyboardShortcut(child, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        return standard_->get_accFocus(focus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return standard_->get_accSelection(selection);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return standard_->accHitTest(x, y, child);
    }
    // The names and the text belong to the program: nobody else writes them.
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~ControlAccessible() = default;  // only Release deletes

    bool IsLabel() const { return kind_ == ControlKind::Label; }

    const ScreenReaderLibrary& library_;
    HWND window_;
    ControlKind kind_;
    std::wstring heading_;
    ComPtr<IAccessible> standard_;
    std::atomic<ULONG> references_{1};
};

// The answer to WM_GETOBJECT for the client area, or 0 to leave the question to the window.
LRESULT ClientObject(HWND window, const ControlDescription& control, WPARAM wParam) {
    const ScreenReaderLibrary* library = ScreenReaderLibrary::Get();
    if (!library) return 0;
    ComPtr<IAccessible> standard;
    if (FAILED(library->CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                                  reinterpret_cast<void**>(standard.Put())))) {
        return 0;
    }
    // The new object's first reference is handed to its owner at once.
    ComPtr<IAccessible> accessible;
    *accessible.Put() =
        new (std::nothrow) ControlAccessible(*library, window, control, std::move(standard));
    if (!accessible) return 0;
    const LRESULT result =
        library->LresultFromObject(__uuidof(IAccessible), wParam, accessible.Get());
    return FAILED(result) ? 0 : result;
}

constexpr UINT_PTR kSubclassId = 1;

LRESULT CALLBACK ControlWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR control) {
    switch (message) {
        case WM_GETOBJECT:
            // The object id arrives as a 32-bit value, whichever way lParam was extended.
            if (static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) {
                const auto& description = *reinterpret_cast<const ControlDescription*>(control);
                if (const LRESULT result = ClientObject(window, description, wParam)) {
                    return result;
                }
            }
            break;
        case WM_NCDESTROY: RemoveWindowSubclass(window, ControlWindowProcedure, kSubclassId); break;
        default: break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

bool NeedsScreenReaderObject(const ControlDescription& control) {
    return control.Kind == ControlKind::PictureBox || IsNamedByHeading(control);
}

bool ExposeToScreenReaders(HWND window, const ControlDescription& control) {
    return SetWindowSubclass(window, ControlWindowProcedure, kSubclassId,
                             reinterpret_cast<DWORD_PTR>(&control));
}

}  // namespace avo::win32
