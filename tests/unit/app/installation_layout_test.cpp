#include "app/installation_layout.hpp"

#include <gtest/gtest.h>

namespace ludrin::app {
namespace {

const FolderRoots kWindowsRoots{L"C:\\Users\\u\\Documents", L"C:\\Users\\u\\Desktop",
                                L"C:\\Users\\u\\AppData\\Roaming"};

TEST(InstallationLayout, ComposesEveryPathFromRootAndSuffix) {
    const InstallationLayout layout(kWindowsRoots, L'\\');
    EXPECT_EQ(layout.SharedLibraryFolder(), L"C:\\Users\\u\\AppData\\Roaming\\brvdll");
    EXPECT_EQ(layout.SettingsFile(),
              L"C:\\Users\\u\\AppData\\Roaming\\brvdll\\regset\\SettaggiLUD.ini");
    EXPECT_EQ(layout.SiblingModule(), L"C:\\Users\\u\\AppData\\Roaming\\brvdll\\Tarnwell.dll");
    EXPECT_EQ(layout.PlayerFolder(), L"C:\\Users\\u\\Documents\\Ludrin");
    EXPECT_EQ(layout.StartProgram(), L"C:\\Users\\u\\Documents\\Ludrin\\LUD.exe");
    EXPECT_EQ(layout.PlayerProgram(), L"C:\\Users\\u\\Documents\\Ludrin\\Ludrin.exe");
    EXPECT_EQ(layout.DesktopShortcut(), L"C:\\Users\\u\\Desktop\\Ludrin 4.lnk");
    EXPECT_EQ(layout.ShortcutTarget(), layout.StartProgram());
    EXPECT_EQ(layout.ShortcutWorkingFolder(), layout.PlayerFolder());
}

TEST(InstallationLayout, OnlyThePlayerSlotsHaveAPlaceOutsideARunFolder) {
    const InstallationLayout layout(kWindowsRoots, L'\\');
    EXPECT_EQ(layout.SlotDestination(kSlotStartProgram),
              L"C:\\Users\\u\\Documents\\Ludrin\\LUD.exe");
    EXPECT_EQ(layout.SlotDestination(kSlotPlayer), L"C:\\Users\\u\\Documents\\Ludrin\\Ludrin.exe");
    for (const std::size_t slot :
         {std::size_t{0}, std::size_t{3}, std::size_t{4}, std::size_t{5}, std::size_t{6}}) {
        EXPECT_THROW(layout.SlotDestination(slot), std::out_of_range) << slot;
    }
}

TEST(InstallationLayout, EmptyRootGivesEmptyPathsNeverADriveRoot) {
    const InstallationLayout layout(FolderRoots{}, L'\\');
    EXPECT_EQ(layout.SlotDestination(kSlotStartProgram), L"");
    EXPECT_EQ(layout.SlotDestination(kSlotPlayer), L"");
    EXPECT_EQ(layout.SharedLibraryFolder(), L"");
    EXPECT_EQ(layout.SettingsFile(), L"");
    EXPECT_EQ(layout.PlayerFolder(), L"");
    EXPECT_EQ(layout.DesktopShortcut(), L"");
}

TEST(InstallationLayout, PosixSeparatorReplacesOnlyTheSuffixes) {
    const InstallationLayout layout(FolderRoots{L"/h/Docs", L"/h/Desk", L"/h/data"}, L'/');
    EXPECT_EQ(layout.SettingsFile(), L"/h/data/brvdll/regset/SettaggiLUD.ini");
    EXPECT_EQ(layout.PlayerProgram(), L"/h/Docs/Ludrin/Ludrin.exe");
    EXPECT_EQ(layout.DesktopShortcut(), L"/h/Desk/Ludrin 4.lnk");
}

} // namespace
} // namespace ludrin::app
