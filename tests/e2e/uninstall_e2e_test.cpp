// The uninstallation through the real window: a prepared installation in the Wine user's
// folders, a real process named like the player, real clicks and message boxes.

#include "app/main_window_layout.hpp"
#include "e2e/installer_driver.hpp"
#include "e2e/wine_user_files.hpp"
#include "platform/text/utf.hpp"
#include "support/running_program.hpp"
#include "support/temp_dir.hpp"
#include "support/test_arguments.hpp"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

namespace ludrin::e2e {
namespace {

namespace stdfs = std::filesystem;
using app::ControlId;
using ludrin::testing::Argument;
using ludrin::testing::RunningProgram;
using ludrin::testing::TempDir;
using ludrin::testing::WriteFile;

constexpr const wchar_t* kCaption = L"Ludrin - Disinstallazione.";

class UninstallE2E : public ::testing::Test {
protected:
    void SetUp() override {
        documents_ = ShellFolder(CSIDL_PERSONAL);
        desktop_ = ShellFolder(CSIDL_DESKTOPDIRECTORY);
        appData_ = ShellFolder(CSIDL_APPDATA);
        ASSERT_NE(documents_, desktop_);
        // Whatever an earlier run left in these places is put aside and brought back.
        saved_ = std::make_unique<SetAside>(Owned());
        Install();
        installer_ = std::make_unique<InstallerProcess>(Argument(L"installer"));
        window_ = installer_->MainWindow();
        ASSERT_NE(window_, nullptr) << "the installer's main window did not appear";
    }

    void TearDown() override {
        installer_.reset();
        saved_.reset();
    }

    std::vector<stdfs::path> Owned() const {
        return {documents_ / L"Ludrin", appData_ / L"brvdll", desktop_ / L"Ludrin 4.lnk"};
    }

    void Install() {
        WriteFile(documents_ / L"Ludrin" / L"LUD.exe", "start program");
        WriteFile(documents_ / L"Ludrin" / L"Ludrin.exe", "player");
        WriteFile(appData_ / L"brvdll" / L"LibAV" / L"avcodec.dll", "library");
        WriteFile(appData_ / L"brvdll" / L"regset" / L"SettaggiLUD.ini", "[settings]");
        WriteFile(desktop_ / L"Ludrin 4.lnk", "shortcut");
    }

    bool AllInstalled() const {
        return stdfs::exists(documents_ / L"Ludrin" / L"Ludrin.exe") &&
               stdfs::exists(appData_ / L"brvdll" / L"regset" / L"SettaggiLUD.ini") &&
               stdfs::exists(desktop_ / L"Ludrin 4.lnk");
    }

    HWND Control(ControlId id) const { return FindControl(window_, static_cast<int>(id)); }

    // Clicks "Disinstalla" and returns the message box that follows.
    MessageBoxInfo ClickUninstall() {
        Click(Control(ControlId::btnDisinstalla));
        auto box = installer_->WaitForMessageBox();
        if (!box) {
            throw std::runtime_error("no message box appeared");
        }
        return *box;
    }

    // Modal to the installer. The top-most flag is checked natively: Wine makes only
    // system-modal boxes top-most, so it cannot be seen here.
    void ExpectOwned(const MessageBoxInfo& box) const { EXPECT_EQ(box.owner, window_); }

    stdfs::path documents_, desktop_, appData_;
    std::unique_ptr<SetAside> saved_;
    std::unique_ptr<InstallerProcess> installer_;
    HWND window_ = nullptr;
};

TEST_F(UninstallE2E, RefusesWhileThePlayerRunsThenAsksAndRemoves) {
    TempDir elsewhere;
    RunningProgram player(elsewhere / L"player", L"Ludrin.exe");

    auto box = ClickUninstall();
    EXPECT_EQ(box.caption, kCaption);
    EXPECT_EQ(box.text,
              L"SPIACENTE!\r\n\r\nLudrin risulta essere Attivo.\r\n\r\nNon posso procedere "
              L"alla disinstallazione.\r\n\r\nChiudere Ludrin e riprovare.");
    EXPECT_EQ(MessageBoxButtons(box), std::vector<int>{IDOK});
    ExpectOwned(box);
    ASSERT_TRUE(AnswerAndWait(box, IDOK)) << "the message box stayed";
    EXPECT_TRUE(AllInstalled());

    player.Stop();
    const HWND bar = Control(ControlId::ProgressBar1);
    const int barBefore = ProgressPosition(bar);
    box = ClickUninstall();
    EXPECT_EQ(box.caption, kCaption);
    EXPECT_EQ(box.text, L"ATTENZIONE!\r\n\r\nQUESTA FUNZIONE DISINSTALLER\u00C0 IN AUTOMATICO "
                        L"LUDRIN.\r\n\r\nTUTTE LE EVENTUALI IMPOSTAZIONI PERSONALI SARANNO "
                        L"ELIMINATE.\r\n\r\nSEI SICURO DI VOLER CONTINUARE ?");
    EXPECT_EQ(MessageBoxButtons(box), (std::vector<int>{IDYES, IDNO}));
    ExpectOwned(box);
    ASSERT_TRUE(AnswerAndWait(box, IDNO)) << "the message box stayed";
    EXPECT_TRUE(AllInstalled());
    EXPECT_EQ(ProgressPosition(bar), barBefore);

    box = ClickUninstall();
    ASSERT_TRUE(AnswerAndWait(box, IDYES)) << "the message box stayed";
    const auto outcome = installer_->WaitForMessageBox();
    ASSERT_TRUE(outcome.has_value()) << "no outcome message";
    EXPECT_EQ(outcome->caption, L" Disinstallazione Avvenuta con Successo.");
    EXPECT_EQ(outcome->text, L"OK!\r\n\r\nLudrin \u00E8 stato Disinstallato Correttamente.");
    ExpectOwned(*outcome);
    EXPECT_EQ(ProgressPosition(bar), 100);
    EXPECT_FALSE(stdfs::exists(documents_ / L"Ludrin"));
    EXPECT_FALSE(stdfs::exists(appData_ / L"brvdll"));
    EXPECT_FALSE(stdfs::exists(desktop_ / L"Ludrin 4.lnk"));
    EXPECT_TRUE(stdfs::exists(documents_));
    EXPECT_TRUE(stdfs::exists(appData_));
    ASSERT_TRUE(AnswerAndWait(*outcome, IDOK)) << "the message box stayed";

    // Nothing left: a second run says so.
    box = ClickUninstall();
    EXPECT_EQ(box.caption, L" Disinstallazione Non Possibile.");
    EXPECT_EQ(box.text, L"Spiacente!\r\n\r\nLudrin non risulta essere Installato.");
    ASSERT_TRUE(AnswerAndWait(box, IDOK)) << "the message box stayed";
    EXPECT_EQ(ProgressPosition(bar), 0);
}

TEST_F(UninstallE2E, AFileHeldOpenInThePlayerFolderGivesTheIncompleteWarning) {
    const auto held = documents_ / L"Ludrin" / L"Ludrin.exe";
    const HANDLE file = CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);

    auto box = ClickUninstall();
    ASSERT_TRUE(AnswerAndWait(box, IDYES)) << "the message box stayed";
    const auto outcome = installer_->WaitForMessageBox();
    CloseHandle(file);
    ASSERT_TRUE(outcome.has_value()) << "no outcome message";
    EXPECT_EQ(outcome->caption, L" Disinstallazione Incompleta.");
    EXPECT_EQ(outcome->text, L"ATTENZIONE!\r\n\r\nAlcuni file di Ludrin non sono stati "
                             L"rimossi.\r\n\r\nChiudere i programmi che potrebbero "
                             L"utilizzarli e riprovare.");
    EXPECT_EQ(MessageBoxButtons(*outcome), std::vector<int>{IDOK});
    ExpectOwned(*outcome);
    EXPECT_EQ(ProgressPosition(Control(ControlId::ProgressBar1)), 100);
    EXPECT_TRUE(stdfs::exists(held));
    EXPECT_FALSE(stdfs::exists(documents_ / L"Ludrin" / L"LUD.exe"));
    EXPECT_FALSE(stdfs::exists(appData_ / L"brvdll"));
    EXPECT_FALSE(stdfs::exists(desktop_ / L"Ludrin 4.lnk"));
    ASSERT_TRUE(AnswerAndWait(*outcome, IDOK)) << "the message box stayed";
}

} // namespace
} // namespace ludrin::e2e
