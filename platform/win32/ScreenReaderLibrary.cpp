#include "platform/win32/ScreenReaderLibrary.h"

#include "platform/win32/SystemLibrary.h"

namespace avo::win32 {
namespace {

// Objects handed to a screen reader are marshalled through COM, so the window thread joins a
// single-threaded apartment before the first one; it stays in it until the process ends.
bool JoinApartment(HMODULE ole32) {
    decltype(&::CoInitializeEx) coInitializeEx = nullptr;
    if (!FindFunction(ole32, "CoInitializeEx", coInitializeEx)) return false;
    // S_FALSE: the thread had joined already; RPC_E_CHANGED_MODE: it is multi-threaded, where
    // the objects work as well.
    const HRESULT result = coInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;
}

}  // namespace

const ScreenReaderLibrary* ScreenReaderLibrary::Get() {
    static ScreenReaderLibrary library;
    static const bool loaded = library.Load();
    return loaded ? &library : nullptr;
}

bool ScreenReaderLibrary::Load() {
    const HMODULE ole32 = LoadSystemLibrary(L"ole32.dll");
    const HMODULE oleaut32 = LoadSystemLibrary(L"oleaut32.dll");
    const HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
    return JoinApartment(ole32) &&
           FindFunction(oleacc, "CreateStdAccessibleObject", createStdAccessibleObject_) &&
           FindFunction(oleacc, "LresultFromObject", lresultFromObject_) &&
           FindFunction(oleaut32, "SysAllocStringLen", sysAllocStringLen_);
}

}  // namespace avo::win32
