#pragma once
// The special-folder list: 46 "Name=Path" lines in a fixed order, one per folder kind.

#include "platform/sysinfo/name_value_list.hpp"

#include <cstdint>
#include <span>
#include <string>

namespace ludrin::sysinfo {

enum class TSystemFolder : std::uint8_t {
    sfDesktop,
    sfMyComputer,
    sfProgramMenu,
    sfControlPanel,
    sfPrinters,
    sfPersonal,
    sfFavorites,
    sfStartup,
    sfRecentDocuments,
    sfSendto,
    sfRecycleBin,
    sfStartMenu,
    sfDesktopDirectory,
    sfNetworkFolder,
    sfNetworkNeighborhood,
    sfInternet,
    sfFonts,
    sfTemplates,
    sfCommonStartMenu,
    sfCommonPrograms,
    sfCommonStartup,
    sfCommonDesktopDirectory,
    sfAppData,
    sfPrintHood,
    sfAltStartup,
    sfCommonAltStartup,
    sfCommonFavorites,
    sfInternetCache,
    sfCookies,
    sfHistory,
    sfMyVideo,
    sfCommonVideo,
    sfMyPictures,
    sfCommonPictures,
    sfMyMusic,
    sfCommonMusic,
    sfMyDocuments,
    sfAdminTools,
    sfCommonAdminTools,
    sfBurnArea,
    sfProfile,
    sfProfiles,
    sfProgramFiles,
    sfCommonProgramFiles,
    sfWindows,
    sfSystem,
    sfCustomFolder, // has a folder code but no entry name: never listed
};

struct SpecialFolder {
    const wchar_t* name;
    TSystemFolder kind;
    int code; // the shell's special-folder identifier (CSIDL)
};

inline constexpr std::size_t kSpecialFolderCount = 46;
inline constexpr int kCustomFolderCode = 0x2C;

// The listed folders in list order (position = index).
std::span<const SpecialFolder, kSpecialFolderCount> SpecialFolders();

// The shell identifier of any folder kind, sfCustomFolder included.
int FolderCode(TSystemFolder kind);

// The folder's absolute path as the platform gives it, or empty (platform backend).
std::wstring SIGetSpecialFolderPath(TSystemFolder kind);

// Appends the 46 lines to the list; does nothing when given no list.
void SISystemFolders(NameValueList* list);

} // namespace ludrin::sysinfo
