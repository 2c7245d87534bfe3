#include "support/pe_image_writer.hpp"

#include <algorithm>

namespace ludrin::testing {
namespace {

void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

constexpr std::uint32_t kSubdirectory = 0x80000000u;
constexpr std::uint32_t kSectionRva = kResourceSectionRva;
constexpr std::size_t kSectionFileOffset = 0x200;

} // namespace

std::vector<std::uint8_t> PeImageWithResources(std::span<const ResourceSpec> resources) {
    // Types, each with its names, each with its languages (indexes into `resources`).
    struct Name {
        const ResourceSpec* first;
        std::vector<const ResourceSpec*> languages;
    };
    struct Type {
        std::uint16_t id;
        std::vector<Name> names;
    };
    std::vector<Type> types;
    for (const auto& resource : resources) {
        auto type = std::find_if(types.begin(), types.end(),
                                 [&](const Type& t) { return t.id == resource.type; });
        if (type == types.end()) {
            type = types.insert(types.end(), Type{resource.type, {}});
        }
        auto name = std::find_if(type->names.begin(), type->names.end(), [&](const Name& n) {
            return n.first->name == resource.name && n.first->id == resource.id;
        });
        if (name == type->names.end()) {
            name = type->names.insert(type->names.end(), Name{&resource, {}});
        }
        name->languages.push_back(&resource);
    }
    for (auto& type : types) {
        std::stable_partition(type.names.begin(), type.names.end(),
                              [](const Name& n) { return !n.first->name.empty(); });
    }

    // Directories first, then data entries, then name strings, then the data.
    constexpr std::uint32_t kDirectory = 16, kEntry = 8, kDataEntrySize = 16;
    std::uint32_t size = kDirectory + kEntry * static_cast<std::uint32_t>(types.size());
    for (const auto& type : types) {
        size += kDirectory + kEntry * static_cast<std::uint32_t>(type.names.size());
        for (const auto& name : type.names) {
            size += kDirectory + kEntry * static_cast<std::uint32_t>(name.languages.size());
        }
    }
    const std::uint32_t dataEntries = size;
    size += kDataEntrySize * static_cast<std::uint32_t>(resources.size());
    const std::uint32_t strings = size;
    for (const auto& type : types) {
        for (const auto& name : type.names) {
            size += 2 + 2 * static_cast<std::uint32_t>(name.first->name.size());
        }
    }
    std::uint32_t dataAt = (size + 15) & ~15u;
    std::uint32_t end = dataAt;
    for (const auto& resource : resources) {
        end += (static_cast<std::uint32_t>(resource.data.size()) + 15) & ~15u;
    }
    std::vector<std::uint8_t> tree(end);

    std::uint32_t directory = 0;
    std::uint32_t next = kDirectory + kEntry * static_cast<std::uint32_t>(types.size());
    std::uint32_t entry = dataEntries;
    std::uint32_t string = strings;
    Put16(tree, 14, static_cast<std::uint32_t>(types.size()));
    for (std::size_t t = 0; t < types.size(); ++t) {
        const auto& type = types[t];
        Put32(tree, directory + kDirectory + kEntry * t, type.id);
        Put32(tree, directory + kDirectory + kEntry * t + 4, kSubdirectory | next);
        const std::uint32_t nameDirectory = next;
        const auto named = static_cast<std::uint32_t>(
            std::count_if(type.names.begin(), type.names.end(),
                          [](const Name& n) { return !n.first->name.empty(); }));
        Put16(tree, nameDirectory + 12, named);
        Put16(tree, nameDirectory + 14, static_cast<std::uint32_t>(type.names.size()) - named);
        next += kDirectory + kEntry * static_cast<std::uint32_t>(type.names.size());
        for (std::size_t n = 0; n < type.names.size(); ++n) {
            const auto& name = type.names[n];
            const std::uint32_t at =
                nameDirectory + kDirectory + kEntry * static_cast<std::uint32_t>(n);
            if (name.first->name.empty()) {
                Put32(tree, at, name.first->id);
            } else {
                Put32(tree, at, kSubdirectory | string);
                Put16(tree, string, static_cast<std::uint32_t>(name.first->name.size()));
                for (std::size_t i = 0; i < name.first->name.size(); ++i) {
                    Put16(tree, string + 2 + 2 * i, name.first->name[i]);
                }
                string += 2 + 2 * static_cast<std::uint32_t>(name.first->name.size());
            }
            Put32(tree, at + 4, kSubdirectory | next);
            const std::uint32_t languageDirectory = next;
            Put16(tree, languageDirectory + 14, static_cast<std::uint32_t>(name.languages.size()));
            next += kDirectory + kEntry * static_cast<std::uint32_t>(name.languages.size());
            for (std::size_t l = 0; l < name.languages.size(); ++l) {
                const auto& resource = *name.languages[l];
                const std::uint32_t lat =
                    languageDirectory + kDirectory + kEntry * static_cast<std::uint32_t>(l);
                Put32(tree, lat, resource.language);
                Put32(tree, lat + 4, entry);
                dataAt = (dataAt + 15) & ~15u;
                Put32(tree, entry, kSectionRva + dataAt);
                Put32(tree, entry + 4, static_cast<std::uint32_t>(resource.data.size()));
                std::copy(resource.data.begin(), resource.data.end(), tree.begin() + dataAt);
                dataAt += static_cast<std::uint32_t>(resource.data.size());
                entry += kDataEntrySize;
            }
        }
    }
    return PeImageWithResourceTree(tree);
}

std::vector<std::uint8_t> PeImageWithRcData(std::u16string_view name,
                                            std::span<const std::uint8_t> data) {
    const ResourceSpec resource{kRtRcData, std::u16string(name), 0, 0x409,
                                std::vector<std::uint8_t>(data.begin(), data.end())};
    return PeImageWithResources(std::span(&resource, 1));
}

std::vector<std::uint8_t> PeImageWithResourceTree(std::span<const std::uint8_t> tree) {
    // Sized once for headers and tree (GCC 12 at -O3 warns falsely about a later insert).
    std::vector<std::uint8_t> image(kSectionFileOffset + tree.size());
    image[0] = 'M';
    image[1] = 'Z';
    Put32(image, 0x3C, 0x40);
    Put32(image, 0x40, 0x00004550); // "PE\0\0"
    constexpr std::size_t coff = 0x44, optional = coff + 20, optionalSize = 240;
    Put16(image, coff, 0x8664);
    Put16(image, coff + 2, 1);
    Put16(image, coff + 16, optionalSize);
    Put16(image, coff + 18, 0x22);
    Put16(image, optional, 0x20B);
    Put32(image, optional + 108, 16);
    Put32(image, optional + 112 + 2 * 8, kSectionRva);
    Put32(image, optional + 112 + 2 * 8 + 4, static_cast<std::uint32_t>(tree.size()));
    constexpr std::size_t section = optional + optionalSize;
    const char rsrc[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
    std::copy(rsrc, rsrc + 8, image.begin() + section);
    Put32(image, section + 8, static_cast<std::uint32_t>(tree.size()));
    Put32(image, section + 12, kSectionRva);
    Put32(image, section + 16, static_cast<std::uint32_t>(tree.size()));
    Put32(image, section + 20, kSectionFileOffset);
    std::copy(tree.begin(), tree.end(), image.begin() + kSectionFileOffset);
    return image;
}

} // namespace ludrin::testing
