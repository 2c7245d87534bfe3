// The advanced features installation through the real window: the demo codec installers
// run from the installer's own payload, in order, with their switches, and leave nothing
// behind in the temporary folder.

#include "app/main_window_layout.hpp"
#include "e2e/installer_driver.hpp"
#include "e2e/wine_user_files.hpp"
#include "support/running_program.hpp"
#include "support/temp_dir.hpp"
#include "support/test_arguments.hpp"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

namespace ludrin::e2e {
namespace {

namespace stdfs = std::filesystem;
using app::ControlId;
using ludrin::testing::Argument;
using ludrin::testing::ReadFile;
using ludrin::testing::RunningProgram;
using ludrin::testing::TempDir;
using ludrin::testing::WriteFile;

constexpr const wchar_t* kLogName = L"ludrin-demo-installers.log";

struct ExpectedLaunch {
    const char* name;
    const char* parameters;
};
constexpr ExpectedLaunch kLaunches[] = {
    {"LAVFilters-0.75.0-2.exe", "/VERYSILENT /SUPPRESSMSGBOXES /NORESTART /SP-"},
    {"ffdshow_rev4532_20140717_clsid.exe", "/SP- /VERYSILENT /NORESTART"},
    {"AviSynth_260.exe", "/S"},
};

stdfs::path TempFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return temp;
}

std::vector<std::string> Lines(const stdfs::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

// What this run may have made in the temporary folder: the installers or a folder of ours.
std::vector<stdfs::path> RunLeftovers(const stdfs::path& temp) {
    std::vector<stdfs::path> found;
    for (const auto& entry : stdfs::directory_iterator(temp)) {
        const auto name = entry.path().filename().wstring();
        if (name.starts_with(L"ludrin-") || name == L"ffdshow_rev4532_20140717_clsid.exe" ||
            name == L"AviSynth_260.exe") {
            found.push_back(entry.path());
        }
    }
    return found;
}

class AdvancedInstallE2E : public ::testing::Test {
protected:
    void SetUp() override {
        documents_ = ShellFolder(CSIDL_PERSONAL);
        appData_ = ShellFolder(CSIDL_APPDATA);
        temp_ = TempFolder();
        saved_ = std::make_unique<SetAside>(std::vector<stdfs::path>{
            documents_ / L"Ludrin", appData_ / kLogName, temp_ / L"LAVFilters-0.75.0-2.exe"});
        ASSERT_TRUE(RunLeftovers(temp_).empty()) << "an earlier run left files behind";
        installer_ = std::make_unique<InstallerProcess>(Argument(L"installer"));
        window_ = installer_->MainWindow();
        ASSERT_NE(window_, nullptr) << "the installer's main window did not appear";
    }

    void TearDown() override {
        installer_.reset();
        saved_.reset();
    }

    // The base installation, as far as this operation can tell.
    void SimulateBaseInstallation() { WriteFile(documents_ / L"Ludrin" / L"Ludrin.exe", "player"); }

    MessageBoxInfo ClickAdvanced() {
        Click(FindControl(window_, static_cast<int>(ControlId::btnInstallaComplete)));
        // Three installers run and are awaited before anything is said.
        auto box = installer_->WaitForMessageBox(60s);
        if (!box) {
            throw std::runtime_error("no message box appeared");
        }
        return *box;
    }

    stdfs::path documents_, appData_, temp_;
    std::unique_ptr<SetAside> saved_;
    std::unique_ptr<InstallerProcess> installer_;
    HWND window_ = nullptr;
};

TEST_F(AdvancedInstallE2E, RunsTheThreeInstallersInOrderThenReportsAndCleansUp) {
    SimulateBaseInstallation();
    // A file planted under an installer's name must neither run nor change.
    const auto planted = temp_ / L"LAVFilters-0.75.0-2.exe";
    WriteFile(planted, "planted, not a program");

    const auto box = ClickAdvanced();
    EXPECT_EQ(box.caption, L" Installazione Avvenuta con Successo.");
    EXPECT_EQ(box.text, L"OK!\r\n\r\nFunzionalit\u00E0 Avanzate Ludrin Installate Correttamente.");
    EXPECT_EQ(box.owner, window_);
    EXPECT_EQ(ProgressPosition(FindControl(window_, static_cast<int>(ControlId::ProgressBar1))),
              100);

    // Every installer had ended before the message: all three lines are there, in order.
    const auto lines = Lines(appData_ / kLogName);
    ASSERT_EQ(lines.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string name = kLaunches[i].name;
        EXPECT_TRUE(lines[i].starts_with(name + "\t")) << lines[i];
        EXPECT_TRUE(lines[i].ends_with(std::string(" ") + kLaunches[i].parameters)) << lines[i];
        // Run from the private folder of this run, not from the temporary folder itself.
        EXPECT_NE(lines[i].find("ludrin-"), std::string::npos) << lines[i];
    }
    ASSERT_TRUE(AnswerAndWait(box, IDOK)) << "the message box stayed";

    EXPECT_EQ(ReadFile(planted), "planted, not a program");
    // The private folder goes once the message is closed.
    for (int attempt = 0; attempt < 100 && !RunLeftovers(temp_).empty(); ++attempt) {
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_TRUE(RunLeftovers(temp_).empty());
}

TEST_F(AdvancedInstallE2E, RefusesWithoutThePlayerProgram) {
    stdfs::create_directories(documents_ / L"Ludrin");
    const auto box = ClickAdvanced();
    EXPECT_EQ(box.caption, L" Installazione Funzionalit\u00E0 Avanzate.");
    EXPECT_EQ(box.text,
              L"SPIACENTE!\r\n\r\nLudrin non risulta Installato.\r\n\r\nNon posso procedere.");
    ASSERT_TRUE(AnswerAndWait(box, IDOK)) << "the message box stayed";
    EXPECT_FALSE(stdfs::exists(appData_ / kLogName));
}

TEST_F(AdvancedInstallE2E, RefusesWhileThePlayerRuns) {
    SimulateBaseInstallation();
    TempDir elsewhere;
    RunningProgram player(elsewhere / L"player", L"Ludrin.exe");
    const auto box = ClickAdvanced();
    EXPECT_EQ(box.caption, L"Ludrin Installazione Funzionalit\u00E0 Avanzate.");
    EXPECT_EQ(box.text, L"SPIACENTE!\r\n\r\nLudrin risulta essere Attivo.\r\n\r\nNon posso "
                        L"procedere.\r\n\r\nChiudere Ludrin e riprovare.");
    ASSERT_TRUE(AnswerAndWait(box, IDOK)) << "the message box stayed";
    EXPECT_FALSE(stdfs::exists(appData_ / kLogName));
}

} // namespace
} // namespace ludrin::e2e
