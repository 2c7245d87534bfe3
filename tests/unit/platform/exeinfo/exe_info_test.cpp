#include "platform/exeinfo/exe_info.hpp"
#include "platform/text/str_to_int.hpp"
#include "platform/text/utf.hpp"

#include <gtest/gtest.h>

#include <optional>

namespace ludrin::exeinfo {
namespace {

TEST(ExeInfo, TranslationKeyIsEightUpperCaseHexDigits) {
    EXPECT_EQ(TranslationKey(0x0409, 0x04E4), L"040904E4");
    EXPECT_EQ(TranslationKey(0x0409, 0x04B0), L"040904B0");
    EXPECT_EQ(TranslationKey(0x0410, 0x8000), L"04108000");
    EXPECT_EQ(TranslationKey(0xFFFF, 0xFFFF), L"FFFFFFFF");
    EXPECT_EQ(TranslationKey(0, 0), L"00000000");
    EXPECT_EQ(StringQueryPath(L"040904E4", L"FileVersion"),
              L"StringFileInfo\\040904E4\\FileVersion");
}

TEST(ExeInfo, ReadsTheProjectVersionForTheRunningExecutable) {
    const TExeInfo info;
    EXPECT_EQ(info.FileVersion, L"1.0.0.0");
    EXPECT_EQ(info.GetFileVersionInt(), 1000000);
}

TEST(ExeInfo, AnotherFileWithoutResourceLeavesTheTexts) {
    TExeInfo info;
    info.FileVersion = kUpdatedAtRunTime;
    EXPECT_FALSE(info.GetVersionInfoOfApp(L"/nonexistent/file.exe"));
    EXPECT_EQ(info.FileVersion, kUpdatedAtRunTime);
}

TEST(ExeInfo, ComponentVersionIsFixed) {
    EXPECT_EQ(TExeInfo::Version(), L"1.5.1.0");
    EXPECT_EQ(TExeInfo::GetVersionNr(), 0x01050100u);
    TExeInfo::SetVersion(L"9.9.9.9");
    EXPECT_EQ(TExeInfo::Version(), L"1.5.1.0");
}

struct VersionCase {
    const wchar_t* fileVersion;
    int index;
    std::optional<int> part;       // nullopt: raises
    std::optional<int> versionInt; // nullopt: raises
};

TEST(ExeInfo, VersionPartsAndOneInteger) {
    const VersionCase cases[] = {
        {L"1.0.0.0", 0, 1, 1000000},
        {L"1.5.1.0", 1, 5, 1050100},
        {L"1.5.1.0", 3, 0, 1050100},
        {L"1.0", 3, -1, 100}, // fewer parts than asked
        {L"1.0", -1, -1, 100},
        {L"", 0, -1, -1},                   // empty version
        {L"12.345.6.78", 1, 345, 12340678}, // long items cut to two characters
        {L"Updated at run-time", 0, std::nullopt, std::nullopt},
        {L"1.x.0.0", 0, 1, std::nullopt},
        {L"1.x.0.0", 1, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        TExeInfo info;
        info.FileVersion = c.fileVersion;
        const auto label = text::WideToUtf8(c.fileVersion) + " #" + std::to_string(c.index);
        if (c.part) {
            EXPECT_EQ(info.GetVersionPart(c.index), *c.part) << label;
        } else {
            EXPECT_THROW(info.GetVersionPart(c.index), text::EConvertError) << label;
        }
        if (c.versionInt) {
            EXPECT_EQ(info.GetFileVersionInt(), *c.versionInt) << label;
        } else {
            EXPECT_THROW(info.GetFileVersionInt(), text::EConvertError) << label;
        }
    }
}

TEST(ExeInfo, NamedPartsFollowTheirIndex) {
    TExeInfo info;
    info.FileVersion = L"4.3.2.1";
    EXPECT_EQ(info.MajorVersion(), 4);
    EXPECT_EQ(info.MinorVersion(), 3);
    EXPECT_EQ(info.ReleaseNumber(), 2);
    EXPECT_EQ(info.BuildNumber(), 1);
}

TEST(ExeInfo, FileTimeBecomesDaysSince1899) {
    EXPECT_DOUBLE_EQ(FileTimeToDateTime(0), -109205.0);
    // 2000-01-01 00:00 UTC is day 36526.
    EXPECT_DOUBLE_EQ(FileTimeToDateTime(125911584000000000ULL), 36526.0);
}

} // namespace
} // namespace ludrin::exeinfo
