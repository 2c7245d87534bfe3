// An exception that escapes a button's handler stops at the window: the operation's
// failure message is shown and the form goes on.

#include "app/form_main.hpp"
#include "app/operation_messages.hpp"
#include "operation_test.hpp"
#include "support/running_program.hpp"
#include "support/temp_dir.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <stdexcept>

namespace ludrin::app {
namespace {

using ludrin::testing::WriteFile;

class ButtonClickTest : public testing::OperationTest {
protected:
    ludrin::testing::ProcessNameLock lock_; // the uninstallation looks for a running player
};

// The uninstallation fails after removing the player's folder: the user hears that it is
// incomplete, the rest stays, and a second click still works.
TEST_F(ButtonClickTest, AnExceptionHalfwayShowsTheFailureAndTheFormLivesOn) {
    WriteFile(home_ / "Documents" / "Ludrin" / "Ludrin.exe", "player");
    WriteFile(home_ / "AppData" / "brvdll" / "regset" / "SettaggiLUD.ini", "settings");
    view_.answers = {kIdYes};
    view_.onProgress = [](int position) {
        if (position == 30) {
            throw std::bad_alloc();
        }
    };
    EXPECT_NO_THROW(form_.ButtonClick(FormButton::Uninstall));
    ASSERT_EQ(view_.messages.size(), 2u); // the confirmation, then the failure
    EXPECT_EQ(view_.messages[1].text, std::wstring(kUninstallIncomplete.text));
    EXPECT_EQ(view_.messages[1].flags, kUninstallIncomplete.flags);
    // The player folder goes last, so the uninstallation can be run again and finish.
    EXPECT_FALSE(std::filesystem::exists(home_ / "AppData" / "brvdll"));
    EXPECT_TRUE(std::filesystem::exists(home_ / "Documents" / "Ludrin"));

    view_.onProgress = nullptr;
    view_.messages.clear();
    view_.answers = {kIdYes};
    form_.ButtonClick(FormButton::Uninstall);
    EXPECT_EQ(view_.messages.back().text, std::wstring(kUninstallDone.text));
    EXPECT_FALSE(std::filesystem::exists(home_ / "Documents" / "Ludrin"));
}

} // namespace
} // namespace ludrin::app
