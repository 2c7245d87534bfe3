#include "platform/exeinfo/exe_info.hpp"
#include "platform/sysinfo/known_folders.hpp"

#include "platform/text/comma_text.hpp"
#include "platform/text/str_to_int.hpp"

#include <cwchar>

namespace ludrin::exeinfo {
namespace {

std::vector<std::wstring> VersionItems(std::wstring text) {
    for (auto& c : text) {
        if (c == L'.') {
            c = L',';
        }
    }
    return text::SplitCommaText(text);
}

} // namespace

std::wstring TranslationKey(std::uint16_t language, std::uint16_t codePage) {
    wchar_t key[9] = {};
    std::swprintf(key, 9, L"%04X%04X", static_cast<unsigned>(language),
                  static_cast<unsigned>(codePage));
    return key;
}

std::wstring StringQueryPath(const std::wstring& key, const std::wstring& name) {
    return L"StringFileInfo\\" + key + L"\\" + name;
}

double FileTimeToDateTime(std::uint64_t fileTime) {
    constexpr double kTicksPerDay = 864e9;
    constexpr double kDaysFrom1601To1899 = 109205.0; // 1601-01-01 to 1899-12-30
    return static_cast<double>(fileTime) / kTicksPerDay - kDaysFrom1601To1899;
}

TExeInfo::TExeInfo() {
    for (int i = 0; i < 10; ++i) {
        *VersionString(i) = kUpdatedAtRunTime;
    }
    GetVersionInfo();
    ComputerName = QueryComputerName();
}

void TExeInfo::GetVersionInfo() {
    GetVersionInfoOfApp(sysinfo::RunningExecutablePath());
}

std::wstring* TExeInfo::VersionString(int index) {
    std::wstring* fields[10] = {&CompanyName,    &FileDescription, &FileVersion,      &InternalName,
                                &LegalCopyright, &LegalTradeMark,  &OriginalFileName, &ProductName,
                                &ProductVersion, &Comments};
    return (index >= 0 && index < 10) ? fields[index] : nullptr;
}

std::wstring TExeInfo::Version() {
    constexpr auto nr = GetVersionNr();
    return std::to_wstring(nr >> 24) + L'.' + std::to_wstring((nr >> 16) & 0xFF) + L'.' +
           std::to_wstring((nr >> 8) & 0xFF) + L'.' + std::to_wstring(nr & 0xFF);
}

int TExeInfo::GetVersionPart(int index) const {
    if (FileVersion.empty()) {
        return -1;
    }
    const auto items = VersionItems(FileVersion);
    if (index < 0 || static_cast<std::size_t>(index) >= items.size()) {
        return -1;
    }
    return text::StrToInt(items[static_cast<std::size_t>(index)]);
}

int TExeInfo::GetFileVersionInt() const {
    if (FileVersion.empty()) {
        return -1;
    }
    std::wstring digits;
    for (auto item : VersionItems(FileVersion)) {
        while (item.size() < 2) {
            item.insert(item.begin(), L'0');
        }
        digits += item.substr(0, 2);
    }
    return text::StrToInt(digits);
}

} // namespace ludrin::exeinfo
