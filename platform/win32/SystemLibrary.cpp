#include "platform/win32/SystemLibrary.h"

#include <string>

namespace avo::win32 {

HMODULE LoadSystemLibrary(const wchar_t* name) {
    if (const HMODULE loaded = GetModuleHandleW(name)) return loaded;
    std::wstring path(MAX_PATH, L'\0');
    const UINT length = GetSystemDirectoryW(path.data(), static_cast<UINT>(path.size()));
    if (length == 0 || length >= path.size()) return nullptr;
    path.resize(length);
    path += L'\\';
    path += name;
    return LoadLibraryW(path.c_str());
}

}  // namespace avo::win32
