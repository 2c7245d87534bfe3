#include "platform/sysinfo/special_folders.hpp"

#include <array>

namespace ludrin::sysinfo {
namespace {

using enum TSystemFolder;

// The order, the doubled "MyDocuments" and the spelling "CommonAltstartup" are part of
// the list's contract: lookups take the first match.
constexpr std::array<SpecialFolder, kSpecialFolderCount> kFolders{{
    {L"Desktop", sfDesktop, 0x00},
    {L"MyComputer", sfMyComputer, 0x11},
    {L"Programs", sfProgramMenu, 0x02},
    {L"ControlPanel", sfControlPanel, 0x03},
    {L"Printers", sfPrinters, 0x04},
    {L"MyDocuments", sfPersonal, 0x05},
    {L"Favorites", sfFavorites, 0x06},
    {L"Startup", sfStartup, 0x07},
    {L"Recent", sfRecentDocuments, 0x08},
    {L"SendTo", sfSendto, 0x09},
    {L"RecycleBin", sfRecycleBin, 0x0A},
    {L"StartMenu", sfStartMenu, 0x0B},
    {L"DesktopDirectory", sfDesktopDirectory, 0x10},
    {L"Network", sfNetworkFolder, 0x12},
    {L"NetHood", sfNetworkNeighborhood, 0x13},
    {L"Internet", sfInternet, 0x01},
    {L"Fonts", sfFonts, 0x14},
    {L"Templates", sfTemplates, 0x15},
    {L"CommonStartMenu", sfCommonStartMenu, 0x16},
    {L"CommonPrograms", sfCommonPrograms, 0x17},
    {L"CommonStartup", sfCommonStartup, 0x18},
    {L"CommonDesktopDirectory", sfCommonDesktopDirectory, 0x19},
    {L"AppData", sfAppData, 0x1A},
    {L"PrintHood", sfPrintHood, 0x1B},
    {L"AltStartup", sfAltStartup, 0x1D},
    {L"CommonAltstartup", sfCommonAltStartup, 0x1E},
    {L"CommonFavorites", sfCommonFavorites, 0x1F},
    {L"InternetCache", sfInternetCache, 0x20},
    {L"Cookies", sfCookies, 0x21},
    {L"History", sfHistory, 0x22},
    {L"MyVideo", sfMyVideo, 0x0E},
    {L"CommonVideo", sfCommonVideo, 0x37},
    {L"MyPictures", sfMyPictures, 0x27},
    {L"CommonPictures", sfCommonPictures, 0x36},
    {L"MyMusic", sfMyMusic, 0x0D},
    {L"CommonMusic", sfCommonMusic, 0x35},
    {L"MyDocuments", sfMyDocuments, 0x0C},
    {L"AdminTools", sfAdminTools, 0x30},
    {L"CommonAdminTools", sfCommonAdminTools, 0x2F},
    {L"BurnArea", sfBurnArea, 0x3B},
    {L"Profile", sfProfile, 0x28},
    {L"Profiles", sfProfiles, 0x3E},
    {L"ProgramFiles", sfProgramFiles, 0x26},
    {L"CommonProgramFiles", sfCommonProgramFiles, 0x2B},
    {L"Windows", sfWindows, 0x24},
    {L"System", sfSystem, 0x25},
}};

} // namespace

std::span<const SpecialFolder, kSpecialFolderCount> SpecialFolders() {
    return kFolders;
}

int FolderCode(TSystemFolder kind) {
    const auto index = static_cast<std::size_t>(kind);
    return index < kFolders.size() ? kFolders[index].code : kCustomFolderCode;
}

void SISystemFolders(NameValueList* list) {
    if (list == nullptr) {
        return;
    }
    for (const auto& folder : kFolders) {
        list->Add(std::wstring(folder.name) + L'=' + SIGetSpecialFolderPath(folder.kind));
    }
}

} // namespace ludrin::sysinfo
