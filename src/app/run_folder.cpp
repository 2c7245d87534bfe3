#include "app/run_folder.hpp"

#include "platform/fs/fs.hpp"
#include "platform/fs/path_separator.hpp"
#include "platform/process/delete_directory.hpp"
#include "platform/process/process_id.hpp"

#include <chrono>
#include <cstdint>
#include <limits>
#include <random>
#include <string_view>
#include <thread>

namespace ludrin::app {
namespace {

constexpr std::wstring_view kPrefix = L"ludrin-run-";
constexpr std::size_t kRandomDigits = 16;

std::wstring RandomName() {
    std::random_device random;
    static constexpr wchar_t kHex[] = L"0123456789abcdef";
    std::wstring name = std::wstring(kPrefix) + std::to_wstring(process::CurrentProcessId()) + L"-";
    for (std::size_t i = 0; i < kRandomDigits; ++i) {
        name.push_back(kHex[random() & 0xF]);
    }
    return name;
}

// The id of the process that made a run folder of this name; nothing for any other name.
std::optional<std::uint32_t> OwnerOf(std::wstring_view name) {
    if (!name.starts_with(kPrefix)) {
        return std::nullopt;
    }
    name.remove_prefix(kPrefix.size());
    const std::size_t dash = name.find(L'-');
    if (dash == 0 || dash > 10 || dash == std::wstring_view::npos ||
        name.size() != dash + 1 + kRandomDigits) {
        return std::nullopt;
    }
    std::uint64_t id = 0;
    for (const wchar_t c : name.substr(0, dash)) {
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        id = id * 10 + static_cast<std::uint64_t>(c - L'0');
    }
    for (const wchar_t c : name.substr(dash + 1)) {
        if (!((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f'))) {
            return std::nullopt;
        }
    }
    if (id > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(id);
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

void RunFolder::RemoveAbandoned(const std::wstring& tempDir) {
    if (tempDir.empty()) {
        return;
    }
    const std::wstring base = fs::WithTrailingSeparator(tempDir);
    for (const auto& name : fs::FolderEntries(base)) {
        const auto owner = OwnerOf(name);
        // Once its process has ended a folder is nobody's: a later process given the same id
        // makes its own folder under a new random name.
        if (owner && fs::DirectoryExists(base + name) && !process::ProcessIdRunning(*owner)) {
            process::DeleteDirectory(base + name);
        }
    }
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
