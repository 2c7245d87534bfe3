#pragma once
// Where the installer puts things and the names by which it finds them again. Every path
// is a folder root followed directly by a fixed suffix: nothing adds or removes a
// separator. A root that could not be resolved gives empty paths, never one that would
// land at the root of a drive. Nothing here leads into the temporary folder: payload files
// that go there are written into a run's own folder (run_folder.hpp).

#include "platform/fs/path_separator.hpp"

#include <array>
#include <cstddef>
#include <string>

namespace ludrin::app {

struct FolderRoots {
    std::wstring MyDocuments;      // no trailing separator
    std::wstring DesktopDirectory; // no trailing separator
    std::wstring AppData;          // no trailing separator
};

inline constexpr const wchar_t* kPlayerProcessName = L"Ludrin.exe";
inline constexpr std::size_t kPayloadSlotCount = 6;

// The file name each payload slot is extracted under, and where: the player's folder, or a
// folder of its own made for the run that uses it.
enum class SlotRoot { RunFolder, PlayerFolder };
struct PayloadSlot {
    const wchar_t* fileName;
    SlotRoot root;
};
inline constexpr std::array<PayloadSlot, kPayloadSlotCount> kPayloadSlots{{
    {L"brvdll.zip", SlotRoot::RunFolder},
    {L"LUD.exe", SlotRoot::PlayerFolder},
    {L"Ludrin.exe", SlotRoot::PlayerFolder},
    {L"LAVFilters-0.75.0-2.exe", SlotRoot::RunFolder},
    {L"ffdshow_rev4532_20140717_clsid.exe", SlotRoot::RunFolder},
    {L"AviSynth_260.exe", SlotRoot::RunFolder},
}};
inline constexpr std::size_t kSlotPayloadArchive = 0;
inline constexpr std::size_t kSlotStartProgram = 1;
inline constexpr std::size_t kSlotPlayer = 2;
inline constexpr std::size_t kSlotLavFilters = 3;
inline constexpr std::size_t kSlotFfdshow = 4;
inline constexpr std::size_t kSlotAviSynth = 5;

class InstallationLayout {
public:
    explicit InstallationLayout(FolderRoots roots, wchar_t separator = fs::kPathSeparator);

    const FolderRoots& Roots() const { return roots_; }

    std::wstring SharedLibraryFolder() const; // AppData + "\brvdll"
    std::wstring SettingsFile() const;        // AppData + "\brvdll\regset\SettaggiLUD.ini"
    std::wstring SiblingModule() const;       // AppData + "\brvdll\Tarnwell.dll"
    std::wstring PlayerFolder() const;        // MyDocuments + "\Ludrin"
    std::wstring StartProgram() const;        // MyDocuments + "\Ludrin\LUD.exe"
    std::wstring PlayerProgram() const;       // MyDocuments + "\Ludrin\Ludrin.exe"
    std::wstring DesktopShortcut() const;     // DesktopDirectory + "\Ludrin 4.lnk"

    // Where a payload slot of the player's folder is extracted to. Throws
    // std::out_of_range for any other slot: those have no place outside a run's folder.
    std::wstring SlotDestination(std::size_t slot) const;

    // The desktop shortcut's fields.
    std::wstring ShortcutTarget() const { return StartProgram(); }
    std::wstring ShortcutWorkingFolder() const { return PlayerFolder(); }

private:
    // root + suffix, with "\" in the suffix written as the platform's separator.
    std::wstring Compose(const std::wstring& root, const wchar_t* suffix) const;

    FolderRoots roots_;
    wchar_t separator_;
};

} // namespace ludrin::app
