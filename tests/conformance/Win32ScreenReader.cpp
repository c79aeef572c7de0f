#include "Win32ScreenReader.h"

#include <oleacc.h>

#include "platform/win32/WideText.h"

namespace avo::conformance {
namespace {

IAccessible* ObjectOf(HWND window) {
    IAccessible* accessible = nullptr;
    if (!window || FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                                     reinterpret_cast<void**>(&accessible)))) {
        return nullptr;
    }
    return accessible;
}

VARIANT Self() {
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

// One of the object's own texts, read with `get` (get_accName, get_accValue).
template <class Getter>
std::optional<std::string> TextOf(HWND window, Getter get) {
    IAccessible* accessible = ObjectOf(window);
    if (!accessible) return std::nullopt;
    BSTR text = nullptr;
    (accessible->*get)(Self(), &text);
    accessible->Release();
    const std::string narrow =
        text ? win32::Narrow(std::wstring(text, SysStringLen(text))) : std::string();
    SysFreeString(text);
    return narrow;
}

}  // namespace

std::optional<std::string> AccessibleNameOf(HWND window) {
    return TextOf(window, &IAccessible::get_accName);
}

std::optional<std::string> AccessibleValueOf(HWND window) {
    return TextOf(window, &IAccessible::get_accValue);
}

bool DoDefaultAction(HWND window) {
    IAccessible* accessible = ObjectOf(window);
    if (!accessible) return false;
    const HRESULT pressed = accessible->accDoDefaultAction(Self());
    accessible->Release();
    return pressed == S_OK;
}

}  // namespace avo::conformance
