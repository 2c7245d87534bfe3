#include "pe_resources.hpp"
#include "pe_layout.hpp"

#include "bytes/byte_reader.hpp"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <unordered_set>
#include <vector>

namespace ludrin::pack {
namespace {

using bytes::ByteReader;
using namespace pe;

[[noreturn]] void Damaged(const std::string& what) {
    throw std::runtime_error("damaged executable: " + what);
}

[[noreturn]] void ShortReadDamaged(const bytes::ShortRead& error) {
    Damaged(std::string(error.Field()) + " at offset " + std::to_string(error.Offset()) +
            " lies outside its bounds");
}

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t rawSize;
    std::uint32_t rawOffset;
};

// The resource tree: offsets are relative to its start and must stay inside its section.
class ResourceTree {
public:
    explicit ResourceTree(ByteReader tree) : tree_(tree) {}

    struct Entry {
        std::uint32_t name;
        std::uint32_t target;
    };

    // The entries of a directory the first time it is asked for, none after that: many
    // entries may lead to one directory, and a walk that comes back finds nothing new
    // there. Walking each directory once keeps the walk linear in the size of the tree.
    std::vector<Entry> Entries(std::uint32_t directory) const {
        if (!walked_.insert(directory).second) {
            return {};
        }
        const std::uint64_t at = directory;
        const std::uint32_t named = tree_.U16At(at + kDirectoryNamedCount, "resource directory");
        const std::uint32_t ids = tree_.U16At(at + kDirectoryIdCount, "resource directory");
        std::vector<Entry> entries;
        for (std::uint64_t i = 0; i < named + ids; ++i) {
            const std::uint64_t entry = at + kDirectoryEntries + kResourceEntrySize * i;
            entries.push_back(
                {tree_.U32At(entry, "resource entry"), tree_.U32At(entry + 4, "resource entry")});
        }
        return entries;
    }

    // Resource names compare without regard to ASCII case, as the loader does.
    bool NameEquals(std::uint32_t name, std::u16string_view wanted) const {
        if ((name & kHighBit) == 0) {
            return false;
        }
        const std::uint64_t at = name & ~kHighBit;
        const std::uint16_t length = tree_.U16At(at, "resource name");
        if (length != wanted.size()) {
            return false;
        }
        for (std::size_t i = 0; i < length; ++i) {
            auto c = static_cast<char16_t>(tree_.U16At(at + 2 + 2 * i, "resource name"));
            if (c >= u'a' && c <= u'z') {
                c = static_cast<char16_t>(c - u'a' + u'A');
            }
            if (c != wanted[i]) {
                return false;
            }
        }
        return true;
    }

    // True once a directory's entries have been handed out.
    bool Walked(std::uint32_t directory) const { return walked_.contains(directory); }

    // A name entry as the message shows it: its text (ASCII as it is, anything else as
    // \uXXXX), or "#" and its number.
    std::string NameText(std::uint32_t name) const {
        if ((name & kHighBit) == 0) {
            std::string number = "#";
            number += std::to_string(name);
            return number;
        }
        const std::uint64_t at = name & ~kHighBit;
        const std::uint16_t length = tree_.U16At(at, "resource name");
        std::string text;
        for (std::size_t i = 0; i < length; ++i) {
            const std::uint16_t c = tree_.U16At(at + 2 + 2 * i, "resource name");
            if (c >= 0x20 && c < 0x7F) {
                text.push_back(static_cast<char>(c));
            } else {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04X", c);
                text += escaped;
            }
        }
        return text;
    }

    std::uint32_t Subdirectory(const Entry& entry) const {
        if ((entry.target & kHighBit) == 0) {
            Damaged("resource entry is not a directory where one is expected");
        }
        return entry.target & ~kHighBit;
    }

    const ByteReader& Tree() const { return tree_; }

private:
    ByteReader tree_;
    mutable std::unordered_set<std::uint32_t> walked_;
};

class Image {
public:
    explicit Image(std::span<const std::uint8_t> image) : file_(image) {}

    // The resource directory's address, or nothing when the image has none.
    std::optional<std::uint32_t> ResourceRva() {
        const std::uint32_t peOffset = file_.U32At(kNewHeaderOffsetAt, "PE header offset");
        if (file_.U32At(peOffset, "PE signature") != kPeSignature) {
            Damaged("no PE signature");
        }
        const std::uint64_t coff = std::uint64_t{peOffset} + kCoffAfterSignature;
        const std::uint16_t sectionCount = file_.U16At(coff + kCoffSectionCount, "COFF header");
        const std::uint16_t optionalSize = file_.U16At(coff + kCoffOptionalSize, "COFF header");
        const std::uint64_t optional = coff + kCoffSize;
        const std::uint16_t magic = file_.U16At(optional, "optional header");
        DirectoryTableAt directories{};
        if (magic == kMagicPe32) {
            directories = kPe32Directories;
        } else if (magic == kMagicPe32Plus) {
            directories = kPe32PlusDirectories;
        } else {
            Damaged("unknown optional header magic " + std::to_string(magic));
        }
        if (directories.table > optionalSize) {
            Damaged("optional header too short");
        }
        const std::uint32_t directoryCount =
            file_.U32At(optional + directories.count, "optional header");
        const std::uint64_t resourceEntry =
            directories.table + kDirectoryEntrySize * kResourceDirectoryIndex;
        if (directoryCount <= kResourceDirectoryIndex ||
            resourceEntry + kDirectoryEntrySize > optionalSize) {
            return std::nullopt;
        }
        const std::uint32_t rva = file_.U32At(optional + resourceEntry, "resource directory entry");
        if (rva == 0) {
            return std::nullopt;
        }
        ReadSections(optional + optionalSize, sectionCount);
        return rva;
    }

    // The section's raw bytes that hold an address, from that address to the section's end.
    std::optional<ByteReader> MapRva(std::uint32_t rva) const {
        for (const auto& section : sections_) {
            if (rva >= section.virtualAddress && rva - section.virtualAddress < section.rawSize) {
                const std::uint32_t into = rva - section.virtualAddress;
                return file_.Sub(std::uint64_t{section.rawOffset} + into, section.rawSize - into,
                                 "section data");
            }
        }
        return std::nullopt;
    }

private:
    void ReadSections(std::uint64_t table, std::uint16_t count) {
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint64_t at = table + i * kSectionHeaderSize;
            sections_.push_back({file_.U32At(at + kSectionVirtualAddress, "section header"),
                                 file_.U32At(at + kSectionRawSize, "section header"),
                                 file_.U32At(at + kSectionRawOffset, "section header")});
        }
    }

    ByteReader file_;
    std::vector<Section> sections_;
};

std::string LanguageText(std::uint32_t language) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(language));
    return text;
}

// The data of the one resource of a type whose name entry matches, in its one language.
// Windows chooses among several by the user's language settings, so several are refused
// with the place of each (a directory reached again adds nothing: it holds the same ones).
template <typename NameMatches>
std::optional<std::span<const std::uint8_t>> Find(std::span<const std::uint8_t> bytes,
                                                  std::uint32_t wantedType, const std::string& what,
                                                  NameMatches matches) {
    Image image(bytes);
    const auto resourceRva = image.ResourceRva();
    if (!resourceRva) {
        return std::nullopt;
    }
    const auto treeBytes = image.MapRva(*resourceRva);
    if (!treeBytes) {
        Damaged("resource directory lies in no section");
    }
    const ResourceTree tree(*treeBytes);
    std::vector<std::string> places;
    std::optional<std::span<const std::uint8_t>> found;
    for (const auto& type : tree.Entries(0)) {
        if ((type.name & kHighBit) != 0 || type.name != wantedType) {
            continue;
        }
        for (const auto& named : tree.Entries(tree.Subdirectory(type))) {
            if (!matches(tree, named.name)) {
                continue;
            }
            const std::uint32_t languageDirectory = tree.Subdirectory(named);
            if (tree.Walked(languageDirectory)) {
                places.push_back(tree.NameText(named.name) + " (again)");
                continue;
            }
            const auto languages = tree.Entries(languageDirectory);
            if (languages.empty()) {
                Damaged("resource has no data entry");
            }
            for (const auto& language : languages) {
                if ((language.target & kHighBit) != 0) {
                    Damaged("resource has no data entry");
                }
                places.push_back(tree.NameText(named.name) + " language " +
                                 LanguageText(language.name));
                const std::uint64_t entry = language.target;
                const std::uint32_t dataRva =
                    tree.Tree().U32At(entry + kDataRva, "resource data entry");
                const std::uint32_t dataSize =
                    tree.Tree().U32At(entry + kDataSize, "resource data entry");
                const auto data = image.MapRva(dataRva);
                if (!data || !data->Fits(0, dataSize)) {
                    Damaged("resource data lies outside its section");
                }
                found = data->At(0, dataSize, "resource data");
            }
        }
    }
    if (places.size() > 1) {
        std::string list;
        for (const auto& place : places) {
            if (!list.empty()) {
                list += ", ";
            }
            list += place;
        }
        throw std::runtime_error("the executable carries its " + what + " in " +
                                 std::to_string(places.size()) + " places: " + list +
                                 "; Windows would choose one by the user's language, so it is "
                                 "refused");
    }
    return found;
}

} // namespace

bool LooksLikePeImage(std::span<const std::uint8_t> image) {
    return image.size() >= 2 && image[0] == 'M' && image[1] == 'Z';
}

std::optional<std::span<const std::uint8_t>> FindRcData(std::span<const std::uint8_t> image,
                                                        std::u16string_view name) {
    try {
        std::string what = "RCDATA ";
        for (const char16_t c : name) {
            what.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        }
        return Find(image, kRtRcData, what,
                    [name](const ResourceTree& tree, std::uint32_t entryName) {
                        return tree.NameEquals(entryName, name);
                    });
    } catch (const bytes::ShortRead& error) {
        ShortReadDamaged(error);
    }
}

std::optional<std::span<const std::uint8_t>>
FindVersionResource(std::span<const std::uint8_t> image) {
    try {
        return Find(image, kRtVersion, "version resource",
                    [](const ResourceTree&, std::uint32_t) { return true; });
    } catch (const bytes::ShortRead& error) {
        ShortReadDamaged(error);
    }
}

} // namespace ludrin::pack
