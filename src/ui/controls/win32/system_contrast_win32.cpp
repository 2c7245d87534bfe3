#include "ui/controls/win32/system_contrast_win32.hpp"

#include "ui/controls/win32/paint_buffer.hpp"

#include <cwchar>

namespace ludrin::ui::win32 {
namespace {

// The setting as stored for the user. Some Windows-compatible hosts answer the query
// below with "off" whatever the setting says; the stored flag is the same one.
bool StoredHighContrastFlag() {
    wchar_t text[16]{};
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Accessibility\\HighContrast", L"Flags",
                     RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) {
        return false;
    }
    return (std::wcstoul(text, nullptr, 10) & HCF_HIGHCONTRASTON) != 0;
}

} // namespace

bool HighContrastOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    if (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) != FALSE &&
        (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0) {
        return true;
    }
    return StoredHighContrastFlag();
}

SystemColours CurrentSystemColours() {
    const auto colour = [](int index) {
        return FromColorRef(GetSysColor(index));
    };
    return {.buttonFace = colour(COLOR_BTNFACE),
            .buttonText = colour(COLOR_BTNTEXT),
            .highlight = colour(COLOR_HIGHLIGHT),
            .highlightText = colour(COLOR_HIGHLIGHTTEXT),
            .grayText = colour(COLOR_GRAYTEXT),
            .window = colour(COLOR_WINDOW),
            .windowText = colour(COLOR_WINDOWTEXT)};
}

std::optional<FlatColours> HighContrastPanelNow() {
    if (!HighContrastOn()) {
        return std::nullopt;
    }
    return HighContrastPanel(CurrentSystemColours());
}

} // namespace ludrin::ui::win32
