#include "app/installation_layout.hpp"

#include <gtest/gtest.h>

namespace ludrin::app {
namespace {

const FolderRoots kWindowsRoots{L"C:\\T\\", L"C:\\Users\\u\\Documents", L"C:\\Users\\u\\Desktop",
                                L"C:\\Users\\u\\AppData\\Roaming"};

TEST(InstallationLayout, ComposesEveryPathFromRootAndSuffix) {
    const InstallationLayout layout(kWindowsRoots, L'\\');
    EXPECT_EQ(layout.PayloadArchive(), L"C:\\T\\brvdll.zip");
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

TEST(InstallationLayout, SlotTable) {
    const InstallationLayout layout(kWindowsRoots, L'\\');
    const wchar_t* expected[] = {
        L"C:\\T\\brvdll.zip",
        L"C:\\Users\\u\\Documents\\Ludrin\\LUD.exe",
        L"C:\\Users\\u\\Documents\\Ludrin\\Ludrin.exe",
        L"C:\\T\\LAVFilters-0.75.0-2.exe",
        L"C:\\T\\ffdshow_rev4532_20140717_clsid.exe",
        L"C:\\T\\AviSynth_260.exe",
    };
    for (std::size_t slot = 0; slot < kPayloadSlotCount; ++slot) {
        EXPECT_EQ(layout.SlotDestination(slot), expected[slot]) << slot;
    }
    EXPECT_THROW(layout.SlotDestination(6), std::out_of_range);
}

TEST(InstallationLayout, AddsNoSeparatorToTheTemporaryFolder) {
    // A temporary folder at a drive root comes as "C:": the archive is drive-relative.
    const InstallationLayout layout(FolderRoots{L"C:", L"D", L"E", L"F"}, L'\\');
    EXPECT_EQ(layout.PayloadArchive(), L"C:brvdll.zip");
    EXPECT_EQ(layout.SlotDestination(5), L"C:AviSynth_260.exe");
}

TEST(InstallationLayout, EmptyRootGivesEmptyPathsNeverADriveRoot) {
    const InstallationLayout layout(FolderRoots{}, L'\\');
    for (std::size_t slot = 0; slot < kPayloadSlotCount; ++slot) {
        EXPECT_EQ(layout.SlotDestination(slot), L"") << slot;
    }
    EXPECT_EQ(layout.SharedLibraryFolder(), L"");
    EXPECT_EQ(layout.SettingsFile(), L"");
    EXPECT_EQ(layout.PlayerFolder(), L"");
    EXPECT_EQ(layout.DesktopShortcut(), L"");
}

TEST(InstallationLayout, PosixSeparatorReplacesOnlyTheSuffixes) {
    const InstallationLayout layout(FolderRoots{L"/tmp/", L"/h/Docs", L"/h/Desk", L"/h/data"},
                                    L'/');
    EXPECT_EQ(layout.SettingsFile(), L"/h/data/brvdll/regset/SettaggiLUD.ini");
    EXPECT_EQ(layout.PlayerProgram(), L"/h/Docs/Ludrin/Ludrin.exe");
    EXPECT_EQ(layout.DesktopShortcut(), L"/h/Desk/Ludrin 4.lnk");
    EXPECT_EQ(layout.PayloadArchive(), L"/tmp/brvdll.zip");
}

} // namespace
} // namespace ludrin::app
