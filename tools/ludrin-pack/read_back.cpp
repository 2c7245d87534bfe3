#include "read_back.hpp"

#include "hash/crc32.hpp"
#include "platform/fs/archive_file.hpp"
#include "platform/fs/fs.hpp"
#include "platform/fs/open_folder.hpp"
#include "platform/fs/path_separator.hpp"
#include "zip/windows_names.hpp"
#include "zip/zip_target_path.hpp"

#include <algorithm>
#include <system_error>
#include <unordered_map>

namespace ludrin::pack {
namespace {

constexpr std::size_t kBufferSize = 1 << 20;
// The reader is woken for this much work at a time: a wake per tiny file would cost the
// extraction a system call per entry.
constexpr std::size_t kWakeFiles = 32;
constexpr std::uint64_t kWakeBytes = 1 << 20;

// The entries that may be read as soon as they are written: files whose name no other
// file entry shares, as Windows compares names. A later entry of the same name replaces
// the file, so it is read at the end, as it ends. A "~" may be another file's short name.
std::vector<bool> ReadableEarly(const zip::TZipDirArray& dir) {
    std::vector<std::wstring> folded(dir.Count());
    std::unordered_map<std::wstring_view, std::size_t> uses(dir.Count());
    for (std::size_t i = 0; i < dir.Count(); ++i) {
        if (!zip::IsFolderEntry(dir[i])) {
            folded[i] = zip::FoldedAsWindows(dir[i].Name);
            ++uses[folded[i]];
        }
    }
    std::vector<bool> early(dir.Count());
    for (std::size_t i = 0; i < dir.Count(); ++i) {
        early[i] = !zip::IsFolderEntry(dir[i]) && dir[i].Name.find(L'~') == std::wstring::npos &&
                   uses[folded[i]] == 1;
    }
    return early;
}

// The entry's name as the extraction's events give it (with backslashes).
bool NamesEntry(const std::wstring& eventName, const std::wstring& entryName) {
    return std::equal(eventName.begin(), eventName.end(), entryName.begin(), entryName.end(),
                      [](wchar_t a, wchar_t b) { return a == b || (a == L'\\' && b == L'/'); });
}

// What one thread reads with, for the whole run.
struct Reading {
    // One buffer for the run: a fresh one cleared for every file cost more than reading
    // small files.
    std::vector<std::uint8_t>& Buffer() {
        buffer.resize(kBufferSize);
        return buffer;
    }
    std::vector<std::uint8_t> buffer;
    fs::RecentFolder folder; // files are read back folder by folder
};

// Empty when the entry's file or folder is on disk as the entry says, else what differs.
std::string CheckEntry(const zip::TDirItem& entry, const std::wstring& path, Reading& reading) {
    if (zip::IsFolderEntry(entry)) {
        return fs::DirectoryExists(path) ? std::string() : std::string("folder missing");
    }
    try {
        const fs::ArchiveFile file =
            fs::ArchiveFile::Open(path, fs::kOpenRead, reading.folder.Of(path));
        if (file.Size() != entry.UncompressedSize()) {
            return "size " + std::to_string(file.Size()) + ", expected " +
                   std::to_string(entry.UncompressedSize());
        }
        std::vector<std::uint8_t>& buffer = reading.Buffer();
        std::uint32_t crc = 0;
        for (std::uint64_t at = 0; at < file.Size();) {
            const auto piece = std::span<std::uint8_t>(buffer).first(
                static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), file.Size() - at)));
            file.ReadAt(at, piece);
            crc = hash::Crc32(crc, piece);
            at += piece.size();
        }
        if (crc != entry.CentralDir.crc32) {
            return "CRC-32 differs";
        }
    } catch (const std::exception& error) {
        // Asked only now: an existence check before each open cost a lookup per file.
        return fs::FileExists(path) ? error.what() : "missing";
    }
    return {};
}

} // namespace

ReadBack::ReadBack(const zip::TZipDirArray& dir, std::wstring base)
    : dir_(dir), base_(fs::WithTrailingSeparator(base)), early_(dir.Count()) {
    try {
        reader_ = std::thread([this] { ReadEarly(); });
    } catch (const std::system_error&) {
        stopped_ = true; // no second thread: everything is read at the end
    }
}

ReadBack::~ReadBack() {
    Stop();
}

void ReadBack::Written(const std::wstring& name) {
    while (next_ < dir_.Count() && !dir_[next_].Tagged) {
        ++next_;
    }
    std::unique_lock lock(mutex_);
    if (stopped_) {
        return;
    }
    if (next_ >= dir_.Count() || !NamesEntry(name, dir_[next_].Name)) {
        stopped_ = true; // not the order this expects: nothing more is read early
        return;
    }
    queue_.push_back(next_);
    queuedBytes_ += dir_[next_].UncompressedSize();
    ++next_;
    if (queue_.size() >= kWakeFiles || queuedBytes_ >= kWakeBytes) {
        queuedBytes_ = 0;
        lock.unlock();
        wake_.notify_one();
    }
}

std::vector<std::string> ReadBack::Problems() {
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
    }
    wake_.notify_one();
    if (reader_.joinable()) {
        reader_.join();
    }
    std::vector<std::string> problems(dir_.Count());
    Reading reading;
    for (std::size_t i = 0; i < dir_.Count(); ++i) {
        problems[i] = early_[i] ? std::move(*early_[i]) : CheckEntry(dir_[i], PathOf(i), reading);
    }
    return problems;
}

std::wstring ReadBack::PathOf(std::size_t index) const {
    return base_ + zip::PlatformRelativePath(zip::WithBackslashes(dir_[index].Name));
}

void ReadBack::Stop() {
    {
        const std::lock_guard lock(mutex_);
        closed_ = true;
        stopped_ = true;
    }
    wake_.notify_one();
    if (reader_.joinable()) {
        reader_.join();
    }
}

// The reader's thread. Whatever it leaves unread, for any reason, is read at the end.
void ReadBack::ReadEarly() {
    try {
        const std::vector<bool> readable = ReadableEarly(dir_);
        Reading reading;
        std::vector<std::size_t> taken;
        while (true) {
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return stopped_ || closed_ || !queue_.empty(); });
                if (stopped_ || queue_.empty()) {
                    return;
                }
                taken.swap(queue_);
            }
            for (const std::size_t index : taken) {
                if (readable[index]) {
                    early_[index] = CheckEntry(dir_[index], PathOf(index), reading);
                }
            }
            taken.clear();
        }
    } catch (...) { // out of memory or threads: the end reads it all
    }
}

} // namespace ludrin::pack
