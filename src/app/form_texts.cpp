#include "app/form_texts.hpp"

#include <chrono>

namespace ludrin::app {

VersionTexts ComposeVersionTexts(const std::wstring& fileVersion) {
    VersionTexts texts;
    texts.Build = L"Build: " + fileVersion;
    texts.VERSIONE = L"Versione: " + texts.Build.substr(7, 3);
    texts.Label = texts.VERSIONE + L"  " + texts.Build;
    return texts;
}

std::wstring CurrentYear() {
    const auto today = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
    const std::chrono::year_month_day date{today};
    auto year = std::to_wstring(static_cast<int>(date.year()));
    return std::wstring(year.size() < 4 ? 4 - year.size() : 0, L'0') + year;
}

std::wstring CopyrightText(const std::wstring& year) {
    return L"Copyright \u00A9 " + year + L" - Suite Brenvoss";
}

} // namespace ludrin::app
