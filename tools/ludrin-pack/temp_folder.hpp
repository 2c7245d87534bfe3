#pragma once
// A fresh, empty folder of a random name inside the system's temporary folder.

#include <filesystem>
#include <string>

namespace ludrin::pack {

// `prefix` starts the folder's name; throws std::runtime_error when none can be created.
std::filesystem::path FreshTempFolder(const std::string& prefix);

} // namespace ludrin::pack
