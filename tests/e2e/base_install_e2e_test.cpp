// The base installation through the real window: the shared libraries as unzip unpacks
// the payload archive, the player's programs as the payload holds them, a shortcut that the
// shell resolves, and the whole round trip back to the user's folders as they were.

#include "app/main_window_layout.hpp"
#include "e2e/installer_driver.hpp"
#include "e2e/window_probe.hpp"
#include "e2e/wine_user_files.hpp"
#include "support/running_program.hpp"
#include "support/temp_dir.hpp"
#include "support/test_arguments.hpp"
#include "ui/controls/glow_button_protocol.hpp"

#include <windows.h>

#include <shlobj.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>
#include <thread>

namespace ludrin::e2e {
namespace {

namespace stdfs = std::filesystem;
using app::ControlId;
using ludrin::testing::Argument;

constexpr const wchar_t* kDoneCaption = L" Installazione Avvenuta con Successo.";
constexpr const wchar_t* kDoneText = L"OK!\r\n\r\nLudrin \u00E8 stato Installato Correttamente.";
constexpr const wchar_t* kFailedCaption = L" Installazione Errata.";
constexpr const wchar_t* kFailedText =
    L"ERRORE- Qualcosa non ha funzionato!\r\n\r\nLudrin NON \u00E8 stato Installato Correttamente.";
constexpr const wchar_t* kLogName = L"ludrin-demo-installers.log";

std::string Bytes(const stdfs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

stdfs::path TempFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return temp;
}

// Every entry below a folder: relative path to its bytes (folders map to "/").
std::map<stdfs::path, std::string> Tree(const stdfs::path& root) {
    std::map<stdfs::path, std::string> tree;
    for (const auto& entry : stdfs::recursive_directory_iterator(root)) {
        tree[stdfs::relative(entry.path(), root)] =
            entry.is_directory() ? std::string("/") : Bytes(entry.path());
    }
    return tree;
}

// Every path below the user's folders, to tell whether a round trip left anything behind.
std::set<stdfs::path> Paths(const std::vector<stdfs::path>& roots) {
    std::set<stdfs::path> paths;
    for (const auto& root : roots) {
        for (const auto& entry : stdfs::recursive_directory_iterator(root)) {
            if (entry.path().filename() != kLogName) {
                paths.insert(entry.path());
            }
        }
    }
    return paths;
}

struct ShortcutFields {
    std::wstring target;
    std::wstring workingFolder;
};

// The shortcut as the shell reads it.
ShortcutFields ResolveShortcut(const stdfs::path& file) {
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link)))) {
        throw std::runtime_error("no shell-link object");
    }
    ShortcutFields fields;
    IPersistFile* persist = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
        if (SUCCEEDED(persist->Load(file.wstring().c_str(), STGM_READ))) {
            wchar_t text[MAX_PATH] = {};
            if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, 0))) {
                fields.target = text;
            }
            if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) {
                fields.workingFolder = text;
            }
        }
        persist->Release();
    }
    link->Release();
    return fields;
}

std::vector<DWORD> ProcessesNamed(const wchar_t* name) {
    std::vector<DWORD> ids;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, name) == 0) {
            ids.push_back(entry.th32ProcessID);
        }
    }
    CloseHandle(snapshot);
    return ids;
}

// Closes the top-level windows of every process of that name, as a user would.
void CloseProcessesNamed(const wchar_t* name) {
    const auto ids = ProcessesNamed(name);
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            const auto& ids = *reinterpret_cast<const std::vector<DWORD>*>(context);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (std::find(ids.begin(), ids.end(), process) != ids.end()) {
                PostMessageW(window, WM_CLOSE, 0, 0);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ids));
}

template <typename Condition> bool Eventually(Condition condition) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(50ms);
    }
    return condition();
}

// The Wine user's folders, put aside and brought back, with a clean temporary folder.
class UserFoldersE2E : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        documents_ = ShellFolder(CSIDL_PERSONAL);
        desktop_ = ShellFolder(CSIDL_DESKTOPDIRECTORY);
        appData_ = ShellFolder(CSIDL_APPDATA);
        temp_ = TempFolder();
        payload_ = stdfs::path(Argument(L"payload-dir"));
        reference_ = stdfs::path(Argument(L"brvdll-reference"));
        ASSERT_NE(documents_, desktop_);
        saved_ = std::make_unique<SetAside>(std::vector<stdfs::path>{
            documents_ / L"Ludrin", appData_ / L"brvdll", desktop_ / L"Ludrin 4.lnk",
            appData_ / kLogName, temp_ / L"brvdll.zip", RunLogFile()});
        ASSERT_TRUE(RunLeftovers().empty()) << "an earlier run left files behind";
    }

    void TearDown() override {
        CloseProcessesNamed(L"Ludrin.exe");
        saved_.reset();
        CoUninitialize();
    }

    // Where the unattended runs log, with a blank in its name.
    stdfs::path RunLogFile() const { return temp_ / L"unattended run.log"; }

    std::vector<stdfs::path> RunLeftovers() const {
        std::vector<stdfs::path> found;
        for (const auto& entry : stdfs::directory_iterator(temp_)) {
            const auto name = entry.path().filename().wstring();
            if (name.starts_with(L"ludrin-") || name == L"brvdll.zip") {
                found.push_back(entry.path());
            }
        }
        return found;
    }

    // The shared libraries exactly as unzip unpacks the payload archive, the player's
    // programs as the payload holds them and a shortcut that the shell resolves to them.
    void ExpectInstalled() const {
        EXPECT_EQ(Tree(appData_ / L"brvdll"), Tree(reference_ / L"brvdll"));
        for (const auto* program : {L"LUD.exe", L"Ludrin.exe"}) {
            EXPECT_EQ(Bytes(documents_ / L"Ludrin" / program), Bytes(payload_ / program))
                << program;
        }
        const auto shortcut = ResolveShortcut(desktop_ / L"Ludrin 4.lnk");
        EXPECT_TRUE(stdfs::equivalent(shortcut.target, documents_ / L"Ludrin" / L"LUD.exe"))
            << shortcut.target;
        EXPECT_TRUE(stdfs::equivalent(shortcut.workingFolder, documents_ / L"Ludrin"))
            << shortcut.workingFolder;
    }

    stdfs::path documents_, desktop_, appData_, temp_, payload_, reference_;
    std::unique_ptr<SetAside> saved_;
};

class BaseInstallE2E : public UserFoldersE2E {
protected:
    void SetUp() override {
        UserFoldersE2E::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        installer_ = std::make_unique<InstallerProcess>(Argument(L"installer"));
        window_ = installer_->MainWindow();
        ASSERT_NE(window_, nullptr) << "the installer's main window did not appear";
    }

    void TearDown() override {
        installer_.reset();
        UserFoldersE2E::TearDown();
    }

    HWND Control(ControlId id) const { return FindControl(window_, static_cast<int>(id)); }

    MessageBoxInfo ClickAndWait(ControlId button) {
        Click(Control(button));
        return NextBox();
    }

    MessageBoxInfo NextBox() {
        auto box = installer_->WaitForMessageBox(60s);
        if (!box) {
            throw std::runtime_error("no message box appeared");
        }
        return *box;
    }

    void ExpectOutcome(const MessageBoxInfo& box, bool success) const {
        EXPECT_EQ(box.caption, success ? kDoneCaption : kFailedCaption);
        EXPECT_EQ(box.text, success ? kDoneText : kFailedText);
        EXPECT_EQ(box.owner, window_);
    }

    // Installs and closes the success message.
    void InstallBase() {
        const auto box = ClickAndWait(ControlId::btnInstallaBase);
        ExpectOutcome(box, true);
        ASSERT_TRUE(AnswerAndWait(box, IDOK)) << "the message box stayed";
    }

    std::unique_ptr<InstallerProcess> installer_;
    HWND window_ = nullptr;
};

TEST_F(BaseInstallE2E, InstallsLibrariesProgramsAndShortcutAndLeavesNothingInTemp) {
    const auto box = ClickAndWait(ControlId::btnInstallaBase);
    ExpectOutcome(box, true);
    EXPECT_EQ(ProgressPosition(Control(ControlId::ProgressBar1)), 100);

    ExpectInstalled();
    EXPECT_TRUE(stdfs::is_directory(appData_ / L"brvdll" / L"regset"));
    for (const auto& entry : stdfs::recursive_directory_iterator(reference_ / L"brvdll")) {
        if (entry.is_regular_file()) {
            const auto installed = appData_ / stdfs::relative(entry.path(), reference_);
            EXPECT_EQ(stdfs::last_write_time(installed), stdfs::last_write_time(entry.path()))
                << installed;
        }
    }
    ASSERT_TRUE(AnswerAndWait(box, IDOK)) << "the message box stayed";
    EXPECT_TRUE(Eventually([&] { return RunLeftovers().empty(); }));
}

TEST_F(BaseInstallE2E, ASecondRunKeepsAChangedStartProgramAndRestoresALibrary) {
    InstallBase();
    const auto start = documents_ / L"Ludrin" / L"LUD.exe";
    const auto library = appData_ / L"brvdll" / L"LibAV" / L"libav-demo.bin";
    std::ofstream(start, std::ios::binary | std::ios::trunc) << "changed by the user";
    stdfs::remove(library);

    InstallBase();
    EXPECT_EQ(Bytes(start), "changed by the user");
    EXPECT_EQ(Bytes(library), Bytes(reference_ / L"brvdll" / L"LibAV" / L"libav-demo.bin"));
}

// The installer ended as kill -9 ends it (TerminateProcess) the moment the driver sees a
// point of a base installation reached: no shared library, neither program nor the shortcut
// ever holds part of its content under its final name, the next installer clears the killed run's
// folder as it starts, and a last run completes with every file whole and no part file left.
TEST_F(BaseInstallE2E, AKilledInstallationLeavesNoPartAndTheNextRunCompletes) {
    const auto folder = documents_ / L"Ludrin";
    const auto any = [](const stdfs::path& place, auto matches) {
        std::error_code error;
        for (stdfs::directory_iterator it(place, error), end; !error && it != end;
             it.increment(error)) {
            if (matches(it->path().filename().wstring())) {
                return true;
            }
        }
        return false;
    };
    const auto isPart = [](const std::wstring& name) {
        return name.ends_with(L".ludrin-part");
    };
    const struct {
        const char* name;
        std::function<bool()> reached;
    } points[] = {
        {"run folder made",
         [&] {
             return any(temp_, [](const std::wstring& n) { return n.starts_with(L"ludrin-run-"); });
         }},
        {"a shared library being written",
         [&] {
             std::error_code error;
             for (stdfs::recursive_directory_iterator it(appData_ / L"brvdll", error), end;
                  !error && it != end; it.increment(error)) {
                 if (isPart(it->path().filename().wstring())) {
                     return true;
                 }
             }
             return false;
         }},
        {"player folder made",
         [&] {
             return stdfs::exists(folder);
         }},
        {"a program being written",
         [&] {
             return any(folder, isPart);
         }},
        {"start program written",
         [&] {
             return stdfs::exists(folder / L"LUD.exe");
         }},
        {"shortcut being written",
         [&] {
             return any(desktop_, isPart);
         }},
    };
    for (const auto& point : points) {
        SCOPED_TRACE(point.name);
        stdfs::remove_all(folder);
        stdfs::remove(desktop_ / L"Ludrin 4.lnk");
        Click(Control(ControlId::btnInstallaBase));
        for (int poll = 0; poll < 20000 && !point.reached(); ++poll) {
            std::this_thread::sleep_for(1ms);
        }
        installer_.reset(); // terminated where it stands
        for (const auto* program : {L"LUD.exe", L"Ludrin.exe"}) {
            if (stdfs::exists(folder / program)) {
                EXPECT_EQ(Bytes(folder / program), Bytes(payload_ / program))
                    << "part of " << stdfs::path(program);
            }
        }
        std::error_code error;
        for (stdfs::recursive_directory_iterator it(appData_ / L"brvdll", error), end;
             !error && it != end; it.increment(error)) {
            const auto relative = stdfs::relative(it->path(), appData_);
            if (it->is_regular_file() && !isPart(it->path().filename().wstring())) {
                EXPECT_EQ(Bytes(it->path()), Bytes(reference_ / relative))
                    << "part of " << relative;
            }
        }
        if (stdfs::exists(desktop_ / L"Ludrin 4.lnk")) {
            const auto target = ResolveShortcut(desktop_ / L"Ludrin 4.lnk").target;
            EXPECT_EQ(stdfs::path(target).filename(), L"LUD.exe") << "a shortcut cut short";
        }
        installer_ = std::make_unique<InstallerProcess>(Argument(L"installer"));
        window_ = installer_->MainWindow();
        ASSERT_NE(window_, nullptr);
        EXPECT_TRUE(RunLeftovers().empty()) << "the killed run's folder stayed";
    }
    InstallBase();
    for (const auto* program : {L"LUD.exe", L"Ludrin.exe"}) {
        EXPECT_EQ(Bytes(folder / program), Bytes(payload_ / program)) << stdfs::path(program);
    }
    EXPECT_FALSE(any(folder, isPart));
    EXPECT_FALSE(any(desktop_, isPart));
    EXPECT_EQ(Tree(appData_ / L"brvdll"), Tree(reference_ / L"brvdll"));
    EXPECT_TRUE(Eventually([&] { return RunLeftovers().empty(); }));
}

// A library held open without sharing, as a running player holds it: the reader asks.
class HeldLibrary : public BaseInstallE2E, public ::testing::WithParamInterface<int> {};

TEST_P(HeldLibrary, AsksAbortRetryIgnoreAndReportsWhatHappened) {
    InstallBase();
    const auto library = appData_ / L"brvdll" / L"LibAV" / L"libav-demo.bin";
    HANDLE held =
        CreateFileW(library.wstring().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    const auto question = ClickAndWait(ControlId::btnInstallaBase);
    EXPECT_NE(question.text.find(L"File processing error, possibly disk is full"),
              std::wstring::npos)
        << question.text;
    EXPECT_EQ(MessageBoxButtons(question), (std::vector<int>{IDABORT, IDRETRY, IDIGNORE}));
    const int answer = GetParam();
    if (answer == IDRETRY) {
        CloseHandle(held); // released, as when the player was closed meanwhile
        held = INVALID_HANDLE_VALUE;
    }
    ASSERT_TRUE(AnswerAndWait(question, answer)) << "the message box stayed";
    const auto outcome = NextBox();
    ExpectOutcome(outcome, answer == IDRETRY);
    ASSERT_TRUE(AnswerAndWait(outcome, IDOK)) << "the message box stayed";
    if (held != INVALID_HANDLE_VALUE) {
        CloseHandle(held);
    }
    EXPECT_TRUE(Eventually([&] { return RunLeftovers().empty(); }));
}

INSTANTIATE_TEST_SUITE_P(Answers, HeldLibrary, ::testing::Values(IDIGNORE, IDABORT, IDRETRY),
                         [](const auto& info) {
                             return info.param == IDIGNORE  ? std::string("Ignore")
                                    : info.param == IDABORT ? std::string("Abort")
                                                            : std::string("Retry");
                         });

TEST_F(BaseInstallE2E, RoundTripLeavesTheUsersFoldersAsTheyWere) {
    const std::vector<stdfs::path> roots{documents_, desktop_, appData_};
    const auto before = Paths(roots);
    InstallBase();

    // The shortcut's target starts the player, which writes its settings.
    const auto shortcut = ResolveShortcut(desktop_ / L"Ludrin 4.lnk");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    std::wstring commandLine = L"\"" + shortcut.target + L"\"";
    ASSERT_TRUE(CreateProcessW(shortcut.target.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                               0, nullptr, shortcut.workingFolder.c_str(), &startup, &started));
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    const auto settings = appData_ / L"brvdll" / L"regset" / L"SettaggiLUD.ini";
    EXPECT_TRUE(Eventually([&] { return stdfs::exists(settings); })) << "the player wrote nothing";
    // The player writes its settings before its window is there: ask until it has closed.
    ASSERT_TRUE(Eventually([] {
        CloseProcessesNamed(L"Ludrin.exe");
        return ProcessesNamed(L"Ludrin.exe").empty();
    })) << "the player did not close";

    auto box = ClickAndWait(ControlId::btnInstallaComplete);
    EXPECT_EQ(box.caption, L" Installazione Avvenuta con Successo.");
    ASSERT_TRUE(AnswerAndWait(box, IDOK)) << "the message box stayed";

    box = ClickAndWait(ControlId::btnDisinstalla);
    ASSERT_TRUE(AnswerAndWait(box, IDYES)) << "the message box stayed";
    box = NextBox();
    EXPECT_EQ(box.caption, L" Disinstallazione Avvenuta con Successo.");
    ASSERT_TRUE(AnswerAndWait(box, IDOK)) << "the message box stayed";

    EXPECT_EQ(Paths(roots), before);
    EXPECT_TRUE(Eventually([&] { return RunLeftovers().empty(); }));
}

// A keyboard user alone: Tab to the base installation, Enter, Enter on the message, and
// Alt+F4 ends the program as "Esce" does. Escape on the way closes nothing.
TEST_F(BaseInstallE2E, TheKeyboardAloneInstallsAndAltF4Exits) {
    const HWND base = Control(ControlId::btnInstallaBase);
    // The focus starts on the first button of the tab order; Tab walks it to the base one.
    for (int tab = 0; tab < 8 && FocusOf(window_) != base; ++tab) {
        PressKeys(window_, {VK_TAB});
    }
    ASSERT_EQ(FocusOf(window_), base) << "Tab never reached the base installation button";
    EXPECT_NE(GlowButtonState(base) & ui::kGlowFocused, 0u);

    PressKeys(window_, {VK_RETURN});
    const auto box = NextBox();
    ExpectOutcome(box, true);
    PressKeys(box.handle, {VK_RETURN});
    ASSERT_TRUE(WaitUntilClosed(box.handle)) << "Enter did not answer the message";
    // The focus, and with it the focus rectangle, is back on the button pressed.
    EXPECT_TRUE(Eventually([&] { return FocusOf(window_) == base; }));
    EXPECT_TRUE(stdfs::exists(documents_ / L"Ludrin" / L"LUD.exe"));

    PressKeys(window_, {VK_ESCAPE});
    EXPECT_FALSE(installer_->WaitForExit(1s).has_value()) << "Escape closed the installer";
    EXPECT_TRUE(IsWindowVisible(window_));

    PressKeys(window_, {VK_MENU, VK_F4});
    EXPECT_EQ(installer_->WaitForExit(), std::optional<DWORD>(0));
}

// Unattended runs from the command line, as an administrator's script starts them.
class UnattendedE2E : public UserFoldersE2E {
protected:
    UnattendedOutcome Run(const std::wstring& arguments) {
        return RunToExit(Argument(L"installer"), arguments);
    }
    std::string Log() const { return Bytes(RunLogFile()); }
    std::wstring LogSwitch() const { return L"/log=\"" + RunLogFile().wstring() + L"\""; }
};

TEST_F(UnattendedE2E, QuietInstallThenUninstallThenNothingLeftToUninstall) {
    auto outcome = Run(L"/base /quiet " + LogSwitch());
    EXPECT_EQ(outcome.exitCode, std::optional<DWORD>(0u));
    EXPECT_FALSE(outcome.windowSeen) << "a quiet run showed a window";
    ExpectInstalled();
    EXPECT_TRUE(Eventually([&] { return RunLeftovers().empty(); }));
    const std::string log = Log();
    for (const char* expected :
         {"InstallLudrin /base /quiet \"/log=", "unattended run.log\"", "operation /base",
          "entry brvdll\\", "Ludrin \xC3\xA8 stato Installato Correttamente", "exit code 0"}) {
        EXPECT_NE(log.find(expected), std::string::npos) << expected << "\n" << log;
    }

    outcome = Run(L"-UNINSTALL -Quiet");
    EXPECT_EQ(outcome.exitCode, std::optional<DWORD>(0u));
    EXPECT_FALSE(outcome.windowSeen);
    EXPECT_FALSE(stdfs::exists(documents_ / L"Ludrin"));
    EXPECT_FALSE(stdfs::exists(appData_ / L"brvdll"));
    EXPECT_FALSE(stdfs::exists(desktop_ / L"Ludrin 4.lnk"));

    outcome = Run(L"/uninstall /quiet");
    EXPECT_EQ(outcome.exitCode, std::optional<DWORD>(5u));
    EXPECT_FALSE(outcome.windowSeen);
}

TEST_F(UnattendedE2E, ARunningPlayerRefusesTheAdvancedFeaturesAndTheUninstallation) {
    ASSERT_EQ(Run(L"/base /quiet").exitCode, std::optional<DWORD>(0u));
    ludrin::testing::TempDir elsewhere;
    ludrin::testing::RunningProgram player(elsewhere / L"player", L"Ludrin.exe");
    for (const auto* arguments : {L"/advanced /quiet", L"/uninstall /quiet"}) {
        const auto outcome = Run(arguments);
        EXPECT_EQ(outcome.exitCode, std::optional<DWORD>(4u)) << arguments;
        EXPECT_FALSE(outcome.windowSeen) << arguments;
    }
    EXPECT_TRUE(stdfs::exists(documents_ / L"Ludrin" / L"Ludrin.exe"));
}

TEST_F(UnattendedE2E, ALockedLibraryFailsTheRunAndTheLogNamesItAndItsError) {
    ASSERT_EQ(Run(L"/base /quiet").exitCode, std::optional<DWORD>(0u));
    const auto library = appData_ / L"brvdll" / L"LibAV" / L"libav-demo.bin";
    const HANDLE held =
        CreateFileW(library.wstring().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const auto outcome = Run(L"/base /quiet " + LogSwitch());
    CloseHandle(held);
    EXPECT_EQ(outcome.exitCode, std::optional<DWORD>(1u));
    EXPECT_FALSE(outcome.windowSeen) << "the question was asked on the screen";
    const std::string log = Log();
    EXPECT_NE(log.find("error brvdll\\LibAV\\libav-demo.bin: "), std::string::npos) << log;
    EXPECT_NE(log.find("answer Abort"), std::string::npos) << log;
    EXPECT_NE(log.find("exit code 1"), std::string::npos) << log;
    EXPECT_TRUE(Eventually([&] { return RunLeftovers().empty(); }));
}

TEST_F(UnattendedE2E, WithoutQuietTheWindowShowsTheOperationsMessageThenEnds) {
    InstallerProcess installer(Argument(L"installer"), StartOnly{}, L"/uninstall");
    const auto box = installer.WaitForMessageBox(30s);
    ASSERT_TRUE(box.has_value()) << "no message appeared";
    EXPECT_EQ(box->text, L"Spiacente!\r\n\r\nLudrin non risulta essere Installato.");
    EXPECT_EQ(box->owner, installer.FindTopLevel(L"TFormMain"));
    EXPECT_NE(box->owner, nullptr) << "the window was not shown";
    Answer(*box, IDOK);
    EXPECT_EQ(installer.WaitForExit(20s), std::optional<DWORD>(5u));
}

TEST_F(UnattendedE2E, WrongUsageExitsWithThreeAndRunsNothing) {
    auto outcome = Run(L"/base /bogus /quiet " + LogSwitch());
    EXPECT_EQ(outcome.exitCode, std::optional<DWORD>(3u));
    EXPECT_FALSE(outcome.windowSeen);
    EXPECT_FALSE(stdfs::exists(documents_ / L"Ludrin"));
    EXPECT_NE(Log().find("/bogus"), std::string::npos) << Log();

    // Without /quiet the usage is shown, and the exit code waits for it.
    InstallerProcess installer(Argument(L"installer"), StartOnly{}, L"/?");
    const auto box = installer.WaitForMessageBox(30s);
    ASSERT_TRUE(box.has_value()) << "no usage appeared";
    EXPECT_NE(box->text.find(L"/uninstall"), std::wstring::npos);
    Answer(*box, IDOK);
    EXPECT_EQ(installer.WaitForExit(20s), std::optional<DWORD>(3u));
}

} // namespace
} // namespace ludrin::e2e
