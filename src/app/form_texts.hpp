#pragma once
// The fixed texts of the main window and the ones composed at start-up.

#include <string>

namespace ludrin::app {

inline constexpr const wchar_t* kTitleText = L"Installazione Ludrin";
// The application's own title (its executable's name), the caption of messages that the
// components show through the window.
inline constexpr const wchar_t* kApplicationTitle = L"InstallLudrin";

struct VersionTexts {
    std::wstring Build;    // "Build: " + file version
    std::wstring VERSIONE; // "Versione: " + the first three characters of the file version
    std::wstring Label;    // VERSIONE, two blanks, Build
};
VersionTexts ComposeVersionTexts(const std::wstring& fileVersion);

// The current year in four digits, whatever the regional date format.
std::wstring CurrentYear();

// "Copyright © <year> - Suite Brenvoss"
std::wstring CopyrightText(const std::wstring& year);

// The start-up error of a missing or damaged payload: kDamagedInstaller's text, an empty
// line, then the technical reason on one line.
std::wstring DamagedInstallerText(const std::wstring& reason);

} // namespace ludrin::app
