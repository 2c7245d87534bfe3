#pragma once
// The shell shortcut component: the fields of one shortcut, written to and read from a
// shortcut file by the platform's backend.

#include "platform/shelllink/shell_icon.hpp"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace ludrin::shelllink {

// 16-bit key shortcut: key code in the low byte, modifier flags in the high bits.
using TShortCut = std::uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

// Window state of the program the shortcut starts.
enum class TslShellLinkRunAs : std::uint8_t { raNormal = 0, raMinimized = 1, raMaximized = 2 };

// The show command written for a window state, and the state a stored show command means.
std::uint32_t ShowCommandOf(TslShellLinkRunAs runAs);
TslShellLinkRunAs RunAsOf(std::uint32_t showCommand);

// Key shortcut to the platform's hot key (key code low byte, flags 1 Shift, 2 Control,
// 4 Alt in the high byte) and back.
std::uint16_t ShortCutToHotKey(TShortCut shortCut);
TShortCut HotKeyToShortCut(std::uint16_t hotKey);

// The shell-link object could not be created; the text names the class asked for.
class EOleSysError : public std::runtime_error {
public:
    EOleSysError(const std::string& message, std::int32_t errorCode)
        : std::runtime_error(message), errorCode_(errorCode) {}
    std::int32_t ErrorCode() const { return errorCode_; }

private:
    std::int32_t errorCode_;
};

// The shell-link object lacks an interface the component needs.
class EIntfCastError : public std::runtime_error {
public:
    EIntfCastError() : std::runtime_error("Interface not supported") {}
};

class TslShellLink {
public:
    TslShellLink() = default;
    TslShellLink(const TslShellLink&) = delete;
    TslShellLink& operator=(const TslShellLink&) = delete;

    std::wstring About;

    TShortCut HotKey = 0;
    std::wstring IconLocation;
    std::int32_t IconIndex = 0;
    std::wstring LinkTarget;
    std::wstring Parameters;
    std::wstring ShortDescription;
    std::wstring WorkingDirectory;
    TslShellLinkRunAs RunAs = TslShellLinkRunAs::raNormal;

    const std::wstring& FILENAME() const { return FFileName; }
    // Unless both the stored and the new name are empty, stores the name and loads it.
    void SetFileName(const std::wstring& value);

    const TIcon& LargeIcon() const { return FLargeIcon; }
    const TIcon& SmallIcon() const { return FSmallIcon; }
    // The icons come from the shortcut only; a value given here is ignored.
    void SetIcon(const TIcon&) {}

    // Writes a shortcut with the current fields; true when every step succeeded. Raises
    // EOleSysError or EIntfCastError when the platform's shell-link object is unavailable.
    // No field changes.
    bool SaveToFile(const std::wstring& fileName) const;

    // Resets the fields, then reads an existing shortcut into them; true when every step
    // succeeded. Fields read before a failing step keep what they read.
    bool LoadFromFile(const std::wstring& fileName);

private:
    void ResetFields();

    std::wstring FFileName;
    TIcon FLargeIcon;
    TIcon FSmallIcon;
};

} // namespace ludrin::shelllink
