#pragma once

#include <windows.h>
#include <oleacc.h>

namespace avo::win32 {

// The few system functions that answer screen readers: oleacc's standard objects and object
// references, oleaut32's strings, and COM for the window thread. Most sessions have no screen
// reader, so none of it is loaded at start-up: the first WM_GETOBJECT loads it, and it stays
// for the process's life, since a screen reader may keep objects that use it.
class ScreenReaderLibrary {
public:
    // Loads everything on first use, on the thread that owns the windows. Null when a part is
    // missing; the windows then give the system's standard answers.
    static const ScreenReaderLibrary* Get();

    HRESULT CreateStdAccessibleObject(HWND window, LONG objectId, REFIID iid, void** object) const {
        return createStdAccessibleObject_(window, objectId, iid, object);
    }
    LRESULT LresultFromObject(REFIID iid, WPARAM wParam, IUnknown* object) const {
        return lresultFromObject_(iid, wParam, object);
    }
    BSTR SysAllocStringLen(const OLECHAR* text, UINT length) const {
        return sysAllocStringLen_(text, length);
    }

private:
    ScreenReaderLibrary() = default;
    bool Load();

    decltype(&::CreateStdAccessibleObject) createStdAccessibleObject_ = nullptr;
    decltype(&::LresultFromObject) lresultFromObject_ = nullptr;
    decltype(&::SysAllocStringLen) sysAllocStringLen_ = nullptr;
};

}  // namespace avo::win32
