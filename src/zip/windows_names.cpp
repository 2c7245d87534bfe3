#include "zip/windows_names.hpp"

#include "zip/zip_dir_manager.hpp"
#include "zip/zip_target_path.hpp"

#include <unordered_map>

namespace ludrin::zip {
namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool PartIsPlaceable(std::wstring_view part) {
    if (part.empty() || part == L".") {
        return true;
    }
    for (const wchar_t c : part) {
        if ((c >= 1 && c <= 31) ||
            std::wstring_view(L"<>:\"|?*").find(c) != std::wstring_view::npos) {
            return false;
        }
    }
    return part.back() != L'.' && part.back() != L' ';
}

wchar_t UpperAsWindows(wchar_t c) {
    if ((c >= L'a' && c <= L'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ||
        (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) || (c >= 0x430 && c <= 0x44F)) {
        return static_cast<wchar_t>(c - 0x20);
    }
    if (c == 0xFF) {
        return 0x178;
    }
    if (c >= 0x450 && c <= 0x45F) {
        return static_cast<wchar_t>(c - 0x50);
    }
    // Latin Extended-A pairs upper, lower; ı (0x131) and ſ (0x17F) stay.
    if (c >= 0x100 && c <= 0x17F && c != 0x131 && c != 0x17F) {
        const bool oddPairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        const bool lower = oddPairs ? (c % 2 == 0) : (c % 2 == 1);
        return lower ? static_cast<wchar_t>(c - 1) : c;
    }
    return c;
}

} // namespace

bool IsPlaceableOnWindows(std::wstring_view name) {
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = start;
        while (end < name.size() && !IsSeparator(name[end])) {
            ++end;
        }
        if (!PartIsPlaceable(name.substr(start, end - start))) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

std::wstring FoldedAsWindows(std::wstring_view name) {
    std::wstring folded(name);
    for (wchar_t& c : folded) {
        c = c == L'/' ? L'\\' : UpperAsWindows(c);
    }
    return folded;
}

std::vector<std::wstring> WindowsNameProblems(const TZipDirArray& dir) {
    std::vector<std::wstring> problems;
    std::unordered_map<std::wstring, std::size_t> files; // folded name -> first entry
    for (std::size_t i = 0; i < dir.Count(); ++i) {
        const TDirItem& entry = dir[i];
        if (!IsPlaceableOnWindows(entry.Name)) {
            problems.push_back(entry.Name + L": Windows cannot create this name");
            continue;
        }
        if (IsFolderEntry(entry)) {
            continue; // folders that fold together are one folder, and lose nothing
        }
        const auto [first, added] = files.emplace(FoldedAsWindows(entry.Name), i);
        if (!added) {
            problems.push_back(entry.Name + L": the same file on Windows as entry " +
                               std::to_wstring(first->second) + L" (" + dir[first->second].Name +
                               L")");
        }
    }
    return problems;
}

} // namespace ludrin::zip
