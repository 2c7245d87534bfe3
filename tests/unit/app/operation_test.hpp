#pragma once
// What the tests of the operations share: a user's folders in a temporary home, the form
// with its recording view, payload slots filled with test content, the message check, and
// a real write failure.

#include "app/form_main.hpp"
#include "app/operation_messages.hpp"
#include "support/recording_view.hpp"
#include "support/temp_dir.hpp"

#include <sys/resource.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <memory>
#include <string>

namespace ludrin::app::testing {

// Puts `content` into a payload slot of the form's store under the slot's file name.
inline void StorePayload(TFormMain& form, std::size_t slot, const std::string& content) {
    auto& files = form.stFileStorage.Files;
    while (files.size() <= slot) {
        files.push_back(std::make_unique<store::TStoredFile>(&form.stFileStorage));
    }
    files[slot]->FileName = kPayloadSlots[slot].fileName;
    files[slot]->Data.assign(content.begin(), content.end());
    files[slot]->Size = static_cast<std::uint32_t>(content.size());
}

class OperationTest : public ::testing::Test {
protected:
    OperationTest() {
        for (const auto* root : {"Documents", "Desktop", "AppData", "Temp"}) {
            std::filesystem::create_directories(home_ / root);
        }
        form_.UserMyDocuments = ludrin::testing::Wide(home_ / "Documents");
        form_.UserDesktopDirectory = ludrin::testing::Wide(home_ / "Desktop");
        form_.PathBASSDll = ludrin::testing::Wide(home_ / "AppData");
        form_.UserTempDir = ludrin::testing::Wide(home_ / "Temp") + L"/";
    }

    void Store(std::size_t slot, const std::string& content) { StorePayload(form_, slot, content); }

    void ExpectOnlyMessage(const OperationMessage& expected) const {
        ASSERT_EQ(view_.messages.size(), 1u);
        EXPECT_EQ(view_.messages[0].text, expected.text);
        EXPECT_EQ(view_.messages[0].caption, expected.caption);
        EXPECT_EQ(view_.messages[0].flags, expected.flags);
    }

    // Nothing of the run may stay in the temporary folder.
    void ExpectTempFolderEmpty() const {
        for (const auto& entry : std::filesystem::directory_iterator(home_ / "Temp")) {
            ADD_FAILURE() << "left in the temporary folder: " << entry.path();
        }
    }

    ludrin::testing::TempDir home_;
    ludrin::testing::RecordingView view_;
    TFormMain form_{view_};
};

// Files of this process cannot grow past `bytes` while the object lives: a real failing
// write, whoever runs the test (root ignores permissions).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN); // the write fails instead
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = SIG_DFL;
};

} // namespace ludrin::app::testing
