#include "Win32ScreenReader.h"

#include "platform/win32/WideText.h"

namespace avo::conformance {
namespace {

// One of the object's own texts, read with `get` (get_accName, get_accValue...).
template <class Getter>
std::optional<std::string> TextOf(HWND window, Getter get) {
    const win32::ComPtr<IAccessible> accessible = AccessibleObjectOf(window);
    if (!accessible) return std::nullopt;
    BSTR text = nullptr;
    (accessible.Get()->*get)(Self(), &text);
    const std::string narrow =
        text ? win32::Narrow(std::wstring(text, SysStringLen(text))) : std::string();
    SysFreeString(text);
    return narrow;
}

}  // namespace

VARIANT Self() {
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

win32::ComPtr<IAccessible> AccessibleObjectOf(HWND window) {
    win32::ComPtr<IAccessible> accessible;
    if (window && FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                                    reinterpret_cast<void**>(accessible.Put())))) {
        accessible.Reset();
    }
    return accessible;
}

std::optional<std::string> AccessibleNameOf(HWND window) {
    return TextOf(window, &IAccessible::get_accName);
}

std::optional<std::string> AccessibleValueOf(HWND window) {
    return TextOf(window, &IAccessible::get_accValue);
}

std::optional<std::string> DefaultActionOf(HWND window) {
    return TextOf(window, &IAccessible::get_accDefaultAction);
}

long AccessibleRoleOf(HWND window) {
    const win32::ComPtr<IAccessible> accessible = AccessibleObjectOf(window);
    VARIANT role{};
    return accessible && accessible->get_accRole(Self(), &role) == S_OK && role.vt == VT_I4
               ? role.lVal
               : 0;
}

bool DoDefaultAction(HWND window) {
    const win32::ComPtr<IAccessible> accessible = AccessibleObjectOf(window);
    return accessible && accessible->accDoDefaultAction(Self()) == S_OK;
}

}  // namespace avo::conformance
