#include "platform/shelllink/shell_link.hpp"

namespace ludrin::shelllink {
namespace {

constexpr std::uint32_t kShowNormal = 1;
constexpr std::uint32_t kShowMaximized = 3;
constexpr std::uint32_t kShowMinNoActive = 7;

// Hot-key flag bits of the platform, in the high byte.
constexpr std::uint16_t kHotKeyShift = 0x0100;
constexpr std::uint16_t kHotKeyControl = 0x0200;
constexpr std::uint16_t kHotKeyAlt = 0x0400;

} // namespace

std::uint32_t ShowCommandOf(TslShellLinkRunAs runAs) {
    switch (runAs) {
    case TslShellLinkRunAs::raMinimized:
        return kShowMinNoActive;
    case TslShellLinkRunAs::raMaximized:
        return kShowMaximized;
    case TslShellLinkRunAs::raNormal:
        break;
    }
    return kShowNormal;
}

TslShellLinkRunAs RunAsOf(std::uint32_t showCommand) {
    switch (showCommand) {
    case kShowMinNoActive:
        return TslShellLinkRunAs::raMinimized;
    case kShowMaximized:
        return TslShellLinkRunAs::raMaximized;
    default:
        return TslShellLinkRunAs::raNormal;
    }
}

// Sums, not bitwise ors: the modifier bits are added onto whatever lies below them.
std::uint16_t ShortCutToHotKey(TShortCut shortCut) {
    unsigned hotKey = shortCut & 0x1FFFu;
    if (shortCut & scShift) {
        hotKey += kHotKeyShift;
    }
    if (shortCut & scCtrl) {
        hotKey += kHotKeyControl;
    }
    if (shortCut & scAlt) {
        hotKey += kHotKeyAlt;
    }
    return static_cast<std::uint16_t>(hotKey);
}

TShortCut HotKeyToShortCut(std::uint16_t hotKey) {
    unsigned shortCut = hotKey & 0xF8FFu;
    if (hotKey & kHotKeyShift) {
        shortCut += scShift;
    }
    if (hotKey & kHotKeyControl) {
        shortCut += scCtrl;
    }
    if (hotKey & kHotKeyAlt) {
        shortCut += scAlt;
    }
    return static_cast<TShortCut>(shortCut);
}

void TslShellLink::SetFileName(const std::wstring& value) {
    if (FFileName.empty() && value.empty()) {
        return;
    }
    FFileName = value;
    LoadFromFile(value);
}

void TslShellLink::ResetFields() {
    HotKey = 0;
    LinkTarget.clear();
    Parameters.clear();
    RunAs = TslShellLinkRunAs::raNormal;
    WorkingDirectory.clear();
    IconIndex = 0;
    IconLocation.clear();
    ShortDescription.clear();
    FLargeIcon.Reset();
    FSmallIcon.Reset();
}

} // namespace ludrin::shelllink
