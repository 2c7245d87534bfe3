// What a part file does the same on every platform: its name, ownership, and the last step.

#include "platform/fs/part_file.hpp"

#include "platform/fs/fs.hpp"
#include "platform/fs/path_separator.hpp"

#include <cstdint>
#include <utility>

namespace ludrin::fs {
namespace {

constexpr std::wstring_view kPartSuffix = L".ludrin-part";
// The longest file name either platform takes (Windows counts UTF-16 units).
constexpr std::size_t kLongestName = 255;

std::wstring Digest(std::wstring_view name) {
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (const wchar_t c : name) {
        hash = (hash ^ static_cast<std::uint32_t>(c)) * 16777619u;
    }
    static constexpr wchar_t kHex[] = L"0123456789abcdef";
    std::wstring text(8, L'0');
    for (int i = 7; i >= 0; --i, hash >>= 4) {
        text[static_cast<std::size_t>(i)] = kHex[hash & 0xF];
    }
    return text;
}

} // namespace

std::wstring PartFileName(const std::wstring& path) {
    const std::wstring_view folder = FolderPart(path);
    std::wstring name(NamePart(path));
    if (name.size() + kPartSuffix.size() > kLongestName) {
        const std::wstring mark = L"~" + Digest(name);
        name.resize(kLongestName - kPartSuffix.size() - mark.size());
        name += mark;
    }
    return std::wstring(folder) + name + std::wstring(kPartSuffix);
}

PartFile::PartFile(PartFile&& other) noexcept
    : path_(std::move(other.path_)), part_(std::exchange(other.part_, {})),
      output_(std::move(other.output_)), created_(other.created_), folder_(other.folder_) {}

PartFile& PartFile::operator=(PartFile&& other) noexcept {
    if (this != &other) {
        Discard();
        path_ = std::move(other.path_);
        part_ = std::exchange(other.part_, {});
        output_ = std::move(other.output_);
        created_ = other.created_;
        folder_ = other.folder_;
    }
    return *this;
}

PartFile::~PartFile() {
    Discard();
}

void PartFile::Discard() noexcept {
    output_.Close();
    if (!part_.empty()) {
        RemoveFile(part_);
        part_.clear();
    }
}

bool PartFile::Commit(bool replacing) {
    if (part_.empty() || !output_.IsOpen()) {
        return false;
    }
    const bool moved = MoveIntoPlace(part_, path_, replacing, folder_);
    const bool closed = output_.Close();
    if (!moved) {
        Discard();
        return false;
    }
    part_.clear();
    return closed;
}

} // namespace ludrin::fs
