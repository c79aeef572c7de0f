#pragma once

#include <windows.h>

namespace avo::win32 {

// A DLL of Windows' own, loaded by its full path in the system folder, never from the
// program's folder or the search path, where another file of the same name could sit. Stays
// loaded for the process's life; null when it is missing.
HMODULE LoadSystemLibrary(const wchar_t* name);

// The function `name` of `module`, typed; false (and null) where the module lacks it.
template <class Function>
bool FindFunction(HMODULE module, const char* name, Function& function) {
    function =
        module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
    return function != nullptr;
}

}  // namespace avo::win32
