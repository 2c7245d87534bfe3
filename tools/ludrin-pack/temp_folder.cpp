#include "temp_folder.hpp"

#include <chrono>
#include <random>
#include <stdexcept>

namespace ludrin::pack {

std::filesystem::path FreshTempFolder(const std::string& prefix) {
    std::random_device seed;
    std::mt19937_64 random(
        seed() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto path = std::filesystem::temp_directory_path() /
                          (prefix + std::to_string(random() % 1000000000));
        if (std::filesystem::create_directory(path)) {
            return path;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

} // namespace ludrin::pack
