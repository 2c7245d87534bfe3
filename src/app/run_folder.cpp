#include "app/run_folder.hpp"

#include "platform/fs/fs.hpp"
#include "platform/fs/path_separator.hpp"
#include "platform/process/delete_directory.hpp"

#include <chrono>
#include <random>
#include <thread>

namespace ludrin::app {
namespace {

std::wstring RandomName() {
    std::random_device random;
    static constexpr wchar_t kHex[] = L"0123456789abcdef";
    std::wstring name = L"ludrin-";
    for (int i = 0; i < 16; ++i) {
        name.push_back(kHex[random() & 0xF]);
    }
    return name;
}

} // namespace

std::optional<RunFolder> RunFolder::Create(const std::wstring& tempDir) {
    if (tempDir.empty()) {
        return std::nullopt;
    }
    // A temporary folder at a drive root comes as the drive alone ("C:"): appending a name
    // to that would land below the drive's current folder, not in the temporary folder.
    const std::wstring base = fs::WithTrailingSeparator(tempDir);
    // Creating the folder fails when the name exists: a clash only means another try.
    for (int attempt = 0; attempt < 16; ++attempt) {
        auto path = base + RandomName();
        if (fs::CreateFolder(path)) {
            return RunFolder(std::move(path));
        }
    }
    return std::nullopt;
}

RunFolder::RunFolder(RunFolder&& other) noexcept : path_(std::move(other.path_)) {
    other.path_.clear();
}

RunFolder& RunFolder::operator=(RunFolder&& other) noexcept {
    if (this != &other) {
        Remove();
        path_ = std::move(other.path_);
        other.path_.clear();
    }
    return *this;
}

RunFolder::~RunFolder() {
    Remove();
}

void RunFolder::Remove() noexcept {
    if (path_.empty()) {
        return;
    }
    // A program that has just ended may keep its image mapped for a moment.
    using namespace std::chrono_literals;
    for (int attempt = 0; attempt < 40 && fs::DirectoryExists(path_); ++attempt) {
        if (attempt > 0) {
            std::this_thread::sleep_for(50ms);
        }
        process::DeleteDirectory(path_);
    }
    path_.clear();
}

std::wstring RunFolder::FilePath(const std::wstring& name) const {
    return path_ + fs::kPathSeparator + name;
}

} // namespace ludrin::app
