#include "support/temp_dir.hpp"

#include "platform/text/utf.hpp"

#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>

namespace ludrin::testing {

TempDir::TempDir() {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("ludrin-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder below " + base.string());
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Write-protected entries must not keep the folder alive.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        std::filesystem::permissions(
            it->path(), std::filesystem::perms::owner_all,
            std::filesystem::perm_options::add | std::filesystem::perm_options::nofollow, ignored);
    }
    std::filesystem::remove_all(path_, ignored);
}

std::wstring Wide(const std::filesystem::path& path) {
    const auto utf8 = path.u8string();
    return text::Utf8ToWide(
        std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

void WriteFile(const std::filesystem::path& path, const std::string& content) {
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path());
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

#ifdef _WIN32
static void SetVariable(const std::string& name, const std::string& value) {
    _putenv_s(name.c_str(), value.c_str());
}
static void UnsetVariable(const std::string& name) {
    _putenv_s(name.c_str(), "");
}
#else
static void SetVariable(const std::string& name, const std::string& value) {
    setenv(name.c_str(), value.c_str(), 1);
}
static void UnsetVariable(const std::string& name) {
    unsetenv(name.c_str());
}
#endif

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    old_ = had_ ? old : "";
    SetVariable(name_, value);
}

ScopedEnv::~ScopedEnv() {
    if (had_) {
        SetVariable(name_, old_);
    } else {
        UnsetVariable(name_);
    }
}

} // namespace ludrin::testing
