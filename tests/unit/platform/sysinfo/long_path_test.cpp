#include "platform/sysinfo/long_path.hpp"
#include "platform/text/ascii_case.hpp"
#include "platform/text/utf.hpp"

#include <gtest/gtest.h>

#include <map>

namespace ludrin::sysinfo {
namespace {

// A disk as the find-first lookup sees it: path as asked (case-insensitively) -> stored name.
class Disk {
public:
    Disk(std::initializer_list<std::pair<const std::wstring, std::wstring>> entries) {
        for (const auto& [path, stored] : entries) {
            entries_[Fold(path)] = stored;
        }
    }
    StoredNameLookup Lookup() {
        return [this](const std::wstring& path) -> std::optional<std::wstring> {
            asked.push_back(path);
            const auto it = entries_.find(Fold(path));
            return it == entries_.end() ? std::nullopt : std::optional(it->second);
        };
    }
    std::vector<std::wstring> asked;

private:
    static std::wstring Fold(std::wstring text) {
        for (auto& c : text) {
            c = text::AsciiLower(c);
        }
        return text;
    }
    std::map<std::wstring, std::wstring> entries_;
};

TEST(LongPath, ReplacesExistingComponentsByTheirStoredNames) {
    Disk disk{{L"C:\\PROGRA~1", L"Program Files"},
              {L"C:\\PROGRA~1\\LUDRIN~1", L"Ludrin Temp"},
              {L"c:\\users", L"Users"},
              {L"c:\\Users\\root", L"root"},
              {L"c:\\Users\\root\\Temp", L"Temp"},
              {L"\\\\srv\\share\\TMP", L"tmp"}};
    const struct {
        const wchar_t* path;
        const wchar_t* expected;
    } cases[] = {
        {L"C:\\PROGRA~1\\LUDRIN~1\\", L"C:\\Program Files\\Ludrin Temp\\"},
        {L"c:\\users\\root\\Temp\\", L"c:\\Users\\root\\Temp\\"}, // drive letter as written
        {L"C:\\PROGRA~1\\missing\\", L"C:\\Program Files\\missing\\"},
        {L"C:\\nothere\\NEITHER\\", L"C:\\nothere\\NEITHER\\"},
        {L"C:\\PROGRA~1", L"C:\\Program Files"},
        {L"C:\\", L"C:"}, // a drive root gives the drive alone
        {L"C:", L"C:"},
        {L"\\\\srv\\share\\TMP\\", L"\\\\srv\\share\\tmp\\"}, // the share stays unchanged
        {L"\\\\srv\\share\\", L"\\\\srv\\share"},
        {L"\\\\srv\\share", L"\\\\srv\\share"},
        {L"", L""},
        {L"C:\\a*b\\", L"C:\\a*b\\"}, // a wildcard is never looked up
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SIGetLongPathName(c.path, disk.Lookup()), c.expected) << text::WideToUtf8(c.path);
    }
}

TEST(LongPath, NeverAsksForPathsEndingWithSeparatorOrWildcards) {
    Disk disk{};
    SIGetLongPathName(L"C:\\Users\\root\\Temp\\", disk.Lookup());
    EXPECT_EQ(disk.asked, (std::vector<std::wstring>{L"C:\\Users", L"C:\\Users\\root",
                                                     L"C:\\Users\\root\\Temp"}));
    disk.asked.clear();
    SIGetLongPathName(L"C:\\*\\x", disk.Lookup());
    EXPECT_EQ(disk.asked, (std::vector<std::wstring>{}));
}

TEST(LongPath, SplitsDriveAndNetworkParts) {
    const struct {
        const wchar_t* path;
        const wchar_t* drive;
        const wchar_t* rest;
    } cases[] = {
        {L"C:\\Temp\\", L"C:", L"\\Temp\\"},
        {L"\\\\server\\share\\dir", L"\\\\server\\share", L"\\dir"},
        {L"\\\\server", L"\\\\server", L""},
        {L"\\rooted", L"", L"\\rooted"},
        {L"1:\\x", L"", L"1:\\x"},
    };
    for (const auto& c : cases) {
        const auto split = SplitDrive(c.path);
        EXPECT_EQ(split.drive, c.drive) << text::WideToUtf8(c.path);
        EXPECT_EQ(split.rest, c.rest) << text::WideToUtf8(c.path);
    }
}

} // namespace
} // namespace ludrin::sysinfo
