#include "app/win32/resident_pages_win32.hpp"

#include <windows.h>

namespace ludrin::win32 {
namespace {

// Wine keeps unlocked pages resident; dropping a mapped view's pages there is madvise,
// which MEM_RESET of the image range reaches, and the pages are read from the file again.
bool RunningOnWine() {
    static const bool wine = [] {
        const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }();
    return wine;
}

} // namespace

void ReleaseResidentImagePages(std::span<const std::uint8_t> stretch) {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    const auto page = static_cast<std::uintptr_t>(info.dwPageSize);
    const auto begin = reinterpret_cast<std::uintptr_t>(stretch.data());
    const auto first = (begin + page - 1) / page * page;
    const auto last = (begin + stretch.size()) / page * page;
    if (last <= first) {
        return;
    }
    void* const base = reinterpret_cast<void*>(first);
    MEMORY_BASIC_INFORMATION region{};
    if (VirtualQuery(base, &region, sizeof region) == 0 || region.Type != MEM_IMAGE) {
        return;
    }
    // Windows: unlocking pages that are not locked takes them out of the working set.
    VirtualUnlock(base, last - first);
    if (RunningOnWine()) {
        VirtualAlloc(base, last - first, MEM_RESET, PAGE_NOACCESS);
    }
}

} // namespace ludrin::win32
