#include "pe_resources.hpp"

#include <stdexcept>
#include <string>
#include <vector>

namespace ludrin::pack {
namespace {

constexpr std::uint32_t kRtRcData = 10;
constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kResourceDirectoryIndex = 2;

[[noreturn]] void Damaged(const std::string& what) {
    throw std::runtime_error("damaged executable: " + what);
}

// Bounded little-endian reads from a span; every access is checked.
class Bytes {
public:
    explicit Bytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t Size() const { return bytes_.size(); }
    bool Fits(std::uint64_t offset, std::uint64_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }
    std::uint16_t U16(std::uint64_t offset, const char* what) const {
        Need(offset, 2, what);
        return static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
    }
    std::uint32_t U32(std::uint64_t offset, const char* what) const {
        Need(offset, 4, what);
        return static_cast<std::uint32_t>(U16(offset, what)) |
               (static_cast<std::uint32_t>(U16(offset + 2, what)) << 16);
    }
    std::span<const std::uint8_t> Sub(std::uint64_t offset, std::uint64_t length,
                                      const char* what) const {
        Need(offset, length, what);
        return bytes_.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
    }

private:
    void Need(std::uint64_t offset, std::uint64_t length, const char* what) const {
        if (!Fits(offset, length)) {
            Damaged(std::string(what) + " lies outside the file");
        }
    }
    std::span<const std::uint8_t> bytes_;
};

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t rawSize;
    std::uint32_t rawOffset;
};

// The resource tree: offsets are relative to its start and must stay inside its section.
class ResourceTree {
public:
    ResourceTree(Bytes tree) : tree_(tree) {}

    struct Entry {
        std::uint32_t name;
        std::uint32_t target;
    };

    std::vector<Entry> Entries(std::uint32_t directory) const {
        const std::uint32_t named = tree_.U16(std::uint64_t{directory} + 12, "resource directory");
        const std::uint32_t ids = tree_.U16(std::uint64_t{directory} + 14, "resource directory");
        std::vector<Entry> entries;
        for (std::uint32_t i = 0; i < named + ids; ++i) {
            const std::uint64_t at = std::uint64_t{directory} + 16 + 8 * std::uint64_t{i};
            entries.push_back(
                {tree_.U32(at, "resource entry"), tree_.U32(at + 4, "resource entry")});
        }
        return entries;
    }

    bool NameEquals(std::uint32_t name, std::u16string_view wanted) const {
        if ((name & kHighBit) == 0) {
            return false;
        }
        const std::uint64_t at = name & ~kHighBit;
        const std::uint16_t length = tree_.U16(at, "resource name");
        if (length != wanted.size()) {
            return false;
        }
        for (std::size_t i = 0; i < length; ++i) {
            auto c = static_cast<char16_t>(tree_.U16(at + 2 + 2 * i, "resource name"));
            if (c >= u'a' && c <= u'z') {
                c = static_cast<char16_t>(c - u'a' + u'A');
            }
            if (c != wanted[i]) {
                return false;
            }
        }
        return true;
    }

    std::uint32_t Subdirectory(const Entry& entry) const {
        if ((entry.target & kHighBit) == 0) {
            Damaged("resource entry is not a directory where one is expected");
        }
        return entry.target & ~kHighBit;
    }

    Bytes Tree() const { return tree_; }

private:
    Bytes tree_;
};

} // namespace

bool LooksLikePeImage(std::span<const std::uint8_t> image) {
    return image.size() >= 2 && image[0] == 'M' && image[1] == 'Z';
}

std::optional<std::span<const std::uint8_t>> FindRcData(std::span<const std::uint8_t> image,
                                                        std::u16string_view name) {
    const Bytes file(image);
    const std::uint32_t peOffset = file.U32(0x3C, "PE header offset");
    if (file.U32(peOffset, "PE signature") != 0x00004550) {
        Damaged("no PE signature");
    }
    const std::uint64_t coff = std::uint64_t{peOffset} + 4;
    const std::uint16_t sectionCount = file.U16(coff + 2, "COFF header");
    const std::uint16_t optionalSize = file.U16(coff + 16, "COFF header");
    const std::uint64_t optional = coff + 20;
    const std::uint16_t magic = file.U16(optional, "optional header");
    std::uint64_t directories = 0;
    std::uint64_t directoryCountAt = 0;
    if (magic == 0x10B) {
        directoryCountAt = optional + 92, directories = optional + 96;
    } else if (magic == 0x20B) {
        directoryCountAt = optional + 108, directories = optional + 112;
    } else {
        Damaged("unknown optional header magic " + std::to_string(magic));
    }
    if (directories - optional > optionalSize) {
        Damaged("optional header too short");
    }
    const std::uint32_t directoryCount = file.U32(directoryCountAt, "optional header");
    if (directoryCount <= kResourceDirectoryIndex ||
        directories + 8 * (kResourceDirectoryIndex + 1) - optional > optionalSize) {
        return std::nullopt;
    }
    const std::uint32_t resourceRva =
        file.U32(directories + 8 * kResourceDirectoryIndex, "resource directory entry");
    if (resourceRva == 0) {
        return std::nullopt;
    }

    std::vector<Section> sections;
    const std::uint64_t table = optional + optionalSize;
    for (std::uint64_t i = 0; i < sectionCount; ++i) {
        const std::uint64_t at = table + i * kSectionHeaderSize;
        sections.push_back({file.U32(at + 12, "section header"),
                            file.U32(at + 16, "section header"),
                            file.U32(at + 20, "section header")});
    }
    // The section's raw bytes that hold an address, from that address to the section's end.
    auto mapRva = [&](std::uint32_t rva) -> std::optional<Bytes> {
        for (const auto& section : sections) {
            if (rva >= section.virtualAddress && rva - section.virtualAddress < section.rawSize) {
                const std::uint32_t into = rva - section.virtualAddress;
                return Bytes(file.Sub(std::uint64_t{section.rawOffset} + into,
                                      section.rawSize - into, "section data"));
            }
        }
        return std::nullopt;
    };

    const auto treeBytes = mapRva(resourceRva);
    if (!treeBytes) {
        Damaged("resource directory lies in no section");
    }
    const ResourceTree tree(*treeBytes);
    for (const auto& type : tree.Entries(0)) {
        if ((type.name & kHighBit) != 0 || type.name != kRtRcData) {
            continue;
        }
        for (const auto& named : tree.Entries(tree.Subdirectory(type))) {
            if (!tree.NameEquals(named.name, name)) {
                continue;
            }
            const auto languages = tree.Entries(tree.Subdirectory(named));
            if (languages.empty() || (languages.front().target & kHighBit) != 0) {
                Damaged("resource has no data entry");
            }
            const std::uint32_t entry = languages.front().target;
            const std::uint32_t dataRva = tree.Tree().U32(entry, "resource data entry");
            const std::uint32_t dataSize =
                tree.Tree().U32(std::uint64_t{entry} + 4, "resource data entry");
            const auto data = mapRva(dataRva);
            if (!data || !data->Fits(0, dataSize)) {
                Damaged("resource data lies outside its section");
            }
            return data->Sub(0, dataSize, "resource data");
        }
    }
    return std::nullopt;
}

} // namespace ludrin::pack
