#include "WineStacking.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win32/WideText.h"

namespace avo::conformance {

using win32::Widen;

// Wine starts Unix programs too, so xprop reads the root window's list; the reply comes back
// through a file that Wine and Unix both reach.
std::vector<unsigned long long> XStackingOrder() {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring reply =
        std::wstring(folder) + L"avo-stacking-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    DeleteFileW(reply.c_str());
    // Wine's own export, found only when running under Wine.
    using UnixFileName = char* (*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unixName = toUnix ? toUnix(reply.c_str()) : nullptr;
    if (!unixName) return {};
    const std::wstring unixReply = Widen(unixName);
    HeapFree(GetProcessHeap(), 0, unixName);
    // Written under another name and renamed, so that a whole reply appears at once.
    std::wstring command = L"/bin/sh -c \"xprop -root _NET_CLIENT_LIST_STACKING > '" + unixReply +
                           L".part' && mv '" + unixReply + L".part' '" + unixReply + L"'\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(L"/bin/sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        return {};
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    std::FILE* file = nullptr;
    for (int attempt = 0; attempt < 250 && !file; ++attempt) {
        file = _wfopen(reply.c_str(), L"r");
        if (!file) Sleep(20);
    }
    if (!file) return {};
    std::string text;
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, file)) text += chunk;
    std::fclose(file);
    DeleteFileW(reply.c_str());
    // "_NET_CLIENT_LIST_STACKING(WINDOW): window id # 0x1a00003, 0x1c00001"; without a
    // window manager the property is missing and there is no "#".
    std::vector<unsigned long long> order;
    const std::size_t hash = text.find('#');
    if (hash == std::string::npos) return order;
    const char* at = text.c_str() + hash + 1;
    for (;;) {
        char* end = nullptr;
        const unsigned long long id = std::strtoull(at, &end, 16);
        if (end == at) break;
        order.push_back(id);
        at = end;
        while (*at == ',' || *at == ' ') ++at;
    }
    return order;
}

unsigned long long XWindowOf(HWND window) {
    return reinterpret_cast<unsigned long long>(GetPropW(window, L"__wine_x11_whole_window"));
}

}  // namespace avo::conformance
