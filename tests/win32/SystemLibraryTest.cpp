#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <string>

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/WideText.h"

// The DLLs looked up at run time (the DPI functions, the screen-reader functions) are
// Windows' own, so they come from the system folder and nowhere else.

namespace avo::win32::testing {
namespace {

std::wstring ModulePath(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

UINT WINAPI NoDpi(HWND) { return 0; }

std::wstring SystemFolder() {
    std::wstring folder(MAX_PATH, L'\0');
    folder.resize(GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size())));
    return folder + L'\\';
}

TEST(SystemLibraries, ComeFromTheSystemFolder) {
    for (const wchar_t* name : {L"shcore.dll", L"oleacc.dll", L"user32.dll"}) {
        const HMODULE module = LoadSystemLibrary(name);
        ASSERT_NE(module, nullptr);
        EXPECT_EQ(_wcsicmp(ModulePath(module).c_str(), (SystemFolder() + name).c_str()), 0)
            << Narrow(ModulePath(module));
    }
}

TEST(SystemLibraries, AMissingLibraryOrFunctionIsNull) {
    EXPECT_EQ(LoadSystemLibrary(L"avodevivu-missing.dll"), nullptr);
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    GetDpiForWindowFunction function = NoDpi;
    EXPECT_FALSE(FindFunction(LoadSystemLibrary(L"user32.dll"), "NoSuchFunction", function));
    EXPECT_EQ(function, nullptr);
    EXPECT_FALSE(FindFunction(nullptr, "GetDpiForWindow", function));
    EXPECT_TRUE(FindFunction(LoadSystemLibrary(L"user32.dll"), "GetDpiForWindow", function));
}

}  // namespace
}  // namespace avo::win32::testing
