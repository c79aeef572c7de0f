#include "Win32Fixture.h"

#include <winternl.h>

#include <cstdint>
#include <cstdio>

// Every font, brush, bitmap, icon and window that a window creates goes again, and so does
// every handle of a started browser: the counts of GDI objects, USER objects and kernel
// handles stay where they were, however often the caption is resized and the windows come
// and go.

namespace avo::win32::testing {
namespace {

// GDI objects of this process. Wine does not implement GetGuiResources; there the count
// comes from the process's GDI handle table, which Wine keeps in the layout Windows uses
// (an array of 24-byte entries; a non-zero type byte marks an entry in use).
DWORD GdiObjectCount() {
    if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return count;
    struct HandleEntry {
        std::uint64_t Object;
        std::uint32_t Owner;
        std::uint16_t Unique;
        std::uint8_t Type;
        std::uint8_t Flags;
        std::uint64_t UserPointer;
    };
    static_assert(sizeof(HandleEntry) == 24);
    constexpr std::size_t kHandleTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;
    constexpr std::size_t kMaxHandles = 0x10000;
    using QueryProcess = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION process{};
    if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &process, sizeof process,
                        nullptr) != 0) {
        return 0;
    }
    const auto* peb = reinterpret_cast<const std::uint8_t*>(process.PebBaseAddress);
    const auto* table = *reinterpret_cast<const HandleEntry* const*>(peb + kHandleTableOffset);
    if (!table) return 0;
    DWORD count = 0;
    for (std::size_t i = 0; i < kMaxHandles; ++i) count += table[i].Type != 0;
    return count;
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<DWORD*>(count);
    return TRUE;
}

BOOL CALLBACK CountWindowAndChildren(HWND window, LPARAM count) {
    ++*reinterpret_cast<DWORD*>(count);
    EnumChildWindows(window, CountWindow, count);  // every descendant, once
    return TRUE;
}

// USER objects: the windows of this thread with their children, which is where a leak of
// USER objects would show here.
DWORD WindowCount() {
    DWORD count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindowAndChildren,
                      reinterpret_cast<LPARAM>(&count));
    return count;
}

// Kernel handles of this process. Wine does not count them for GetProcessHandleCount; there
// the count is of the handle values that the process's handle table answers for.
DWORD KernelHandleCount() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0) return count;
    constexpr std::uintptr_t kHighestProbed = 0x4000;  // far beyond what this process holds
    for (std::uintptr_t value = 4; value <= kHighestProbed; value += 4) {
        DWORD flags = 0;
        count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != FALSE;
    }
    return count;
}

struct ObjectCounts {
    DWORD Gdi = GdiObjectCount();
    DWORD Windows = WindowCount();
    DWORD Handles = KernelHandleCount();
};

// A leak of one object per round would show as dozens; this only absorbs the window
// system's own one-off caches.
constexpr DWORD kSlack = 4;

class ResourceCounts : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        ASSERT_GT(GdiObjectCount(), 0u);
        ASSERT_GT(KernelHandleCount(), 0u);
    }

    // Opens the About window, paints it, and closes it with its exit picture.
    void AboutRound() {
        OpenAbout();
        UpdateWindow(About());
        ClickExitPicture();
    }
};

// The measurements themselves: what the tests below would see of a leak.
TEST_F(ResourceCounts, SeeEveryFontAndHandleThatIsLeftBehind) {
    const ObjectCounts before;
    std::vector<UniqueFont> fonts;
    std::vector<UniqueKernelHandle> events;
    LOGFONTW logFont{};
    logFont.lfHeight = -12;
    for (int i = 0; i < 10; ++i) fonts.emplace_back(CreateFontIndirectW(&logFont));
    for (int i = 0; i < 10; ++i) events.emplace_back(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const ObjectCounts leaking;
    EXPECT_EQ(leaking.Gdi, before.Gdi + 10);
    EXPECT_EQ(leaking.Handles, before.Handles + 10);
    fonts.clear();
    events.clear();
    const ObjectCounts after;
    EXPECT_EQ(after.Gdi, before.Gdi);
    EXPECT_EQ(after.Handles, before.Handles);
}

void ExpectFlat(const char* what, const ObjectCounts& before, const ObjectCounts& after) {
    std::printf(
        "%s: GDI objects %lu before, %lu after; windows %lu before, %lu after; "
        "kernel handles %lu before, %lu after\n",
        what, before.Gdi, after.Gdi, before.Windows, after.Windows, before.Handles, after.Handles);
    EXPECT_LE(after.Gdi, before.Gdi + kSlack);
    EXPECT_LE(after.Windows, before.Windows + kSlack);
    EXPECT_LE(after.Handles, before.Handles + kSlack);
}

TEST_F(ResourceCounts, StayFlatOverOneHundredThousandCaptionSizes) {
    OpenAbout();
    const ControlRef caption = Control(WindowName::Text, "Label1");
    const auto resizeAndPaint = [&](int writes) {
        for (int i = 0; i < writes; ++i) {
            caption.SetFontSize(PointSize::Whole(2 + i % 19));
            if (i % 100 == 0) UpdateWindow(About());
        }
    };
    resizeAndPaint(100);
    const ObjectCounts before;
    resizeAndPaint(100000);
    ExpectFlat("100000 caption sizes", before, ObjectCounts());
}

TEST_F(ResourceCounts, StayFlatOverOneHundredAboutOpenings) {
    AboutRound();
    const ObjectCounts before;
    for (int round = 0; round < 100; ++round) AboutRound();
    ExpectFlat("100 About openings", before, ObjectCounts());
}

}  // namespace
}  // namespace avo::win32::testing
