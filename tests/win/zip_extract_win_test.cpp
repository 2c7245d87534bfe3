// Extraction with the Windows backends under Wine: the default dialogs, found and answered
// from another thread as a user would (their texts, buttons and what each answer does),
// and the file primitives: attributes, times and names that would leave the base folder.

#include "platform/dialogs/zip_dialogs.hpp"
#include "platform/fs/fs.hpp"
#include "support/temp_dir.hpp"
#include "support/zip_writer.hpp"
#include "zip/zip_reader.hpp"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace ludrin::zip {
namespace {

using ludrin::testing::MakeEntry;
using ludrin::testing::ReadFile;
using ludrin::testing::TempDir;
using ludrin::testing::TextBytes;
using ludrin::testing::Wide;
using ludrin::testing::WriteFile;
using ludrin::testing::ZipArchivePlan;
using ludrin::testing::ZipEntryPlan;

constexpr int kPasswordField = 100;

struct Answer {
    int button;
    std::wstring typed; // put into the password field first, when not empty
};

// What one dialog showed.
struct Seen {
    std::wstring caption;
    std::wstring text;
    std::vector<int> buttons;
    LONG_PTR fieldStyle = 0;
    LRESULT fieldLimit = 0;
};

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

HWND FindDialog() {
    struct Search {
        HWND found = nullptr;
    } search;
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t cls[32] = {};
            GetClassNameW(window, cls, 32);
            if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
                std::wstring(cls) == L"#32770") {
                reinterpret_cast<Search*>(context)->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Answers the dialogs of this process in turn, from its own thread.
class DialogAnswerer {
public:
    explicit DialogAnswerer(std::vector<Answer> answers)
        : answers_(std::move(answers)), thread_([this] { Run(); }) {}
    ~DialogAnswerer() {
        stop_ = true;
        thread_.join();
    }
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // Valid after the operation that showed the dialogs has returned.
    const std::vector<Seen>& seen() const { return seen_; }

private:
    void Run() {
        for (const Answer& answer : answers_) {
            HWND dialog = nullptr;
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            while (!stop_ && dialog == nullptr && std::chrono::steady_clock::now() < until) {
                dialog = FindDialog();
                if (dialog == nullptr) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                }
            }
            if (dialog == nullptr) {
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100)); // fully built
            Seen seen;
            seen.caption = TextOf(dialog);
            seen.text = TextOf(GetDlgItem(dialog, 0xFFFF));
            for (const int id :
                 {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, 101, 102}) {
                if (GetDlgItem(dialog, id) != nullptr) {
                    seen.buttons.push_back(id);
                }
            }
            if (const HWND field = GetDlgItem(dialog, kPasswordField)) {
                seen.fieldStyle = GetWindowLongPtrW(field, GWL_STYLE);
                seen.fieldLimit = SendMessageW(field, EM_GETLIMITTEXT, 0, 0);
                SetWindowTextW(field, answer.typed.c_str());
            }
            seen_.push_back(seen);
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(answer.button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, answer.button)));
            while (!stop_ && IsWindow(dialog)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
    }

    std::vector<Answer> answers_;
    std::vector<Seen> seen_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

class ZipExtractWin : public ::testing::Test {
protected:
    void Open(std::vector<ZipEntryPlan> entries) {
        ZipArchivePlan spec;
        spec.entries = std::move(entries);
        WriteFile(temp / "archive.zip", ludrin::testing::WriteZip(spec));
        archiver.Name = "Archiver";
        archiver.FileName = Wide(temp / "archive.zip");
        archiver.OpenArchive(kOpenModeReadDenyWrite);
        archiver.BaseDir = Wide(temp / "out");
    }
    std::filesystem::path out() const { return temp / "out"; }

    TempDir temp;
    TZipReader archiver;
};

ZipEntryPlan Corrupt(const std::string& name) {
    ZipEntryPlan entry = MakeEntry(name, TextBytes(4000, 2));
    entry.crc = 0xBADC0DE;
    return entry;
}

TEST_F(ZipExtractWin, TheFailureDialogRetriesIgnoresAndAborts) {
    Open({MakeEntry("a.txt", "a"), Corrupt("bad.txt"), MakeEntry("c.txt", "c"), Corrupt("bad2.txt"),
          MakeEntry("e.txt", "e")});
    DialogAnswerer answerer(std::vector<Answer>{{IDRETRY, {}}, {IDIGNORE, {}}, {IDABORT, {}}});
    archiver.ExtractFiles(L"*.*", 10431);

    const std::wstring text = L"Archiver: Invalid size or check sum of file or unsupported "
                              L"compression format - Native error: 00008. File processing "
                              L"error, possibly disk is full";
    ASSERT_EQ(answerer.seen().size(), 3u);
    for (const Seen& seen : answerer.seen()) {
        EXPECT_EQ(seen.text, text);
        EXPECT_EQ(seen.buttons, (std::vector<int>{IDABORT, IDRETRY, IDIGNORE}));
    }
    // Retry decoded bad.txt again, Ignore went on to c.txt, Abort ended before e.txt.
    EXPECT_TRUE(std::filesystem::exists(out() / "a.txt"));
    EXPECT_TRUE(std::filesystem::exists(out() / "c.txt"));
    EXPECT_FALSE(std::filesystem::exists(out() / "bad.txt"));
    EXPECT_FALSE(std::filesystem::exists(out() / "bad2.txt"));
    EXPECT_FALSE(std::filesystem::exists(out() / "e.txt"));
    EXPECT_TRUE(archiver.LastBatch().aborted);
    EXPECT_EQ(archiver.LastBatch().failed, 2u);
}

TEST_F(ZipExtractWin, TheAbortIgnoreDialogHasOnlyThoseButtons) {
    for (const auto& [button, expected] : {std::pair{IDIGNORE, dialogs::FailureAnswer::Ignore},
                                           std::pair{IDABORT, dialogs::FailureAnswer::Abort}}) {
        DialogAnswerer answerer(std::vector<Answer>{{button, {}}});
        EXPECT_EQ(dialogs::AskAbortOrIgnore(nullptr, L"File name is too long: \r\n\"x\""),
                  expected);
        ASSERT_EQ(answerer.seen().size(), 1u);
        EXPECT_EQ(answerer.seen()[0].text, L"File name is too long: \r\n\"x\"");
        EXPECT_EQ(answerer.seen()[0].buttons, (std::vector<int>{IDABORT, IDIGNORE}));
    }
}

TEST_F(ZipExtractWin, TheOverwriteDialogAndYesToAll) {
    Open({MakeEntry("x.txt", "new"), MakeEntry("y.txt", "new"), MakeEntry("z.txt", "new")});
    for (const char* name : {"x.txt", "y.txt", "z.txt"}) {
        WriteFile(out() / name, "old");
    }
    archiver.Options.OverwriteMode = TZipOverwriteMode::omPrompt;
    DialogAnswerer answerer(std::vector<Answer>{{IDNO, {}}, {102 /* Yes to All */, {}}});
    archiver.ExtractFiles(L"*.*", 10431);

    ASSERT_EQ(answerer.seen().size(), 2u);
    EXPECT_EQ(answerer.seen()[0].text,
              L"Overwrite file \"" + Wide(out() / "x.txt") + L"\" with \"x.txt\"");
    EXPECT_EQ(answerer.seen()[0].buttons, (std::vector<int>{IDYES, IDNO, 101, 102}));
    EXPECT_EQ(ReadFile(out() / "x.txt"), "old");
    EXPECT_EQ(ReadFile(out() / "y.txt"), "new");
    EXPECT_EQ(ReadFile(out() / "z.txt"), "new"); // not asked again
    EXPECT_EQ(archiver.Options.OverwriteMode, TZipOverwriteMode::omAlways);
}

TEST_F(ZipExtractWin, ThePasswordDialog) {
    ZipEntryPlan secret = MakeEntry("secret.txt", "hidden");
    secret.password = "pw";
    Open({secret});
    {
        DialogAnswerer answerer(std::vector<Answer>{{IDCANCEL, L"pw"}});
        archiver.ExtractFiles(L"*.*", 10431);
        ASSERT_EQ(answerer.seen().size(), 1u);
        EXPECT_EQ(archiver.LastBatch().skipped, 1u);
        EXPECT_FALSE(std::filesystem::exists(out() / "secret.txt"));
    }
    DialogAnswerer answerer(std::vector<Answer>{{IDOK, L"wrong"}, {IDOK, L"pw"}});
    archiver.ExtractFiles(L"*.*", 10431);
    ASSERT_EQ(answerer.seen().size(), 2u);
    const Seen& seen = answerer.seen()[0];
    EXPECT_EQ(seen.caption, L"Password for \"secret.txt\"");
    EXPECT_EQ(seen.text, L"Enter password: ");
    EXPECT_EQ(seen.buttons, (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_NE(seen.fieldStyle & ES_PASSWORD, 0);
    EXPECT_EQ(seen.fieldLimit, 255);
    EXPECT_EQ(ReadFile(out() / "secret.txt"), "hidden");
    EXPECT_TRUE(archiver.LastBatch().Complete());
}

TEST_F(ZipExtractWin, AttributesTimesAndNamesOutsideTheBaseFolder) {
    ZipEntryPlan hidden = MakeEntry("dir/hidden.txt", "h");
    hidden.externalAttr = 0x81A40000 | 0x23; // Unix mode bits above the DOS ones
    hidden.date = ((2021 - 1980) << 9) | (6 << 5) | 15;
    hidden.time = (12 << 11) | (30 << 5) | 3;
    Open({hidden, MakeEntry("C:\\drive.txt", "x"), MakeEntry("\\\\srv\\share\\unc.txt", "x"),
          MakeEntry("..\\up.txt", "x"), MakeEntry("CON", "x"), MakeEntry("nul.txt", "x"),
          MakeEntry("last.txt", "l")});
    archiver.OnProcessFileFailure = [](TZipBaseArchiver&, const std::wstring&, TZipProcessOperation,
                                       std::int32_t nativeError, std::int32_t, const std::wstring&,
                                       TZipAction& action) {
        EXPECT_EQ(nativeError, 19);
        action = TZipAction::fxaIgnore;
    };
    archiver.ExtractFiles(L"*.*", 10431);
    EXPECT_EQ(archiver.LastBatch().failed, 5u);
    EXPECT_EQ(archiver.LastBatch().extracted, 2u);
    EXPECT_FALSE(std::filesystem::exists(temp / "up.txt"));

    const std::wstring path = Wide(out() / "dir/hidden.txt");
    EXPECT_EQ(GetFileAttributesW(path.c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                 FILE_ATTRIBUTE_ARCHIVE));
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    FILETIME local{};
    ASSERT_TRUE(FileTimeToLocalFileTime(&data.ftLastWriteTime, &local));
    WORD date = 0;
    WORD time = 0;
    ASSERT_TRUE(FileTimeToDosDateTime(&local, &date, &time));
    EXPECT_EQ(date, hidden.date);
    EXPECT_EQ(time, hidden.time);
    EXPECT_EQ(fs::LastWriteDosDateTime(path), (static_cast<std::uint32_t>(date) << 16) | time);

    // A second run replaces the read-only hidden file (ReplaceReadOnly is on by default).
    archiver.OnProcessFileFailure = [](TZipBaseArchiver&, const std::wstring&, TZipProcessOperation,
                                       std::int32_t, std::int32_t, const std::wstring&,
                                       TZipAction& action) {
        action = TZipAction::fxaIgnore;
    };
    archiver.ExtractFiles(L"dir\\*", 10431);
    EXPECT_TRUE(archiver.LastBatch().Complete());
}

TEST(ZipFsWin, FolderTreesAndRemovableDrives) {
    TempDir temp;
    const std::wstring deep = Wide(temp / "a/b/c");
    EXPECT_TRUE(fs::CreateFolderTree(deep));
    EXPECT_TRUE(fs::DirectoryExists(deep));
    EXPECT_TRUE(fs::CreateFolderTree(deep + L"\\")); // exists already: fine
    WriteFile(temp / "file", "x");
    EXPECT_FALSE(fs::CreateFolderTree(Wide(temp / "file/sub")));
    EXPECT_TRUE(fs::IsOnRemovableDrive(L"A:\\x.txt"));
    EXPECT_TRUE(fs::IsOnRemovableDrive(L"b:\\x.txt"));
    EXPECT_FALSE(fs::IsOnRemovableDrive(Wide(temp / "file")));
}

} // namespace
} // namespace ludrin::zip
