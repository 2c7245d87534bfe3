#pragma once
// Loads a file given to the tool and finds the container in it: a form stream, a bare
// container, or an installer executable whose RCDATA "TFORMMAIN" holds the form.

#include "mapped_file.hpp"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace ludrin::pack {

// Arguments arrive as UTF-8 on every platform.
std::filesystem::path PathFromUtf8(const std::string& utf8);

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);

struct PayloadInput {
    std::unique_ptr<MappedFile> file;        // the whole file, mapped
    std::span<const std::uint8_t> container; // inside `file`; empty when the form has none
    bool hasContainer = false;
    std::string source; // where the container was found, for the listing
};

// Throws std::runtime_error (or EStoreError) with a message fit for the user.
PayloadInput LoadPayload(const std::filesystem::path& path);

} // namespace ludrin::pack
