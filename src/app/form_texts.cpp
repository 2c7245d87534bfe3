#include "app/form_texts.hpp"

#include "app/operation_messages.hpp"

#include <ctime>

namespace ludrin::app {

VersionTexts ComposeVersionTexts(const std::wstring& fileVersion) {
    VersionTexts texts;
    texts.Build = L"Build: " + fileVersion;
    texts.VERSIONE = L"Versione: " + texts.Build.substr(7, 3);
    texts.Label = texts.VERSIONE + L"  " + texts.Build;
    return texts;
}

std::wstring CurrentYear() {
    // The user's own calendar year: around New Year the UTC date may lie in another one.
    const std::time_t now = std::time(nullptr);
    const std::tm* date = std::localtime(&now);
    if (date == nullptr) {
        date = std::gmtime(&now);
    }
    auto year = std::to_wstring(date != nullptr ? date->tm_year + 1900 : 1970);
    return std::wstring(year.size() < 4 ? 4 - year.size() : 0, L'0') + year;
}

std::wstring CopyrightText(const std::wstring& year) {
    return L"Copyright \u00A9 " + year + L" - Suite Brenvoss";
}

std::wstring DamagedInstallerText(const std::wstring& reason) {
    std::wstring line = reason;
    // One line: the box lays out the fixed text, the reason must not break it up.
    for (wchar_t& c : line) {
        if (c == L'\r' || c == L'\n') {
            c = L' ';
        }
    }
    return std::wstring(kDamagedInstaller.text) + L"\r\n\r\n" + line;
}

} // namespace ludrin::app
