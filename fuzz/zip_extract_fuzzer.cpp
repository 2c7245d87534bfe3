// Any bytes as the payload archive, extracted with the installer's settings into a fresh
// folder: entries extract or fail one by one, and nothing is ever written outside the
// base folder. The input's first byte chooses whether paths are kept.

#include "platform/text/utf.hpp"
#include "zip/zip_error.hpp"
#include "zip/zip_reader.hpp"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace stdfs = std::filesystem;

// One work folder per process: archive.zip beside base/, where the extraction goes.
const stdfs::path& WorkFolder() {
    static const stdfs::path folder = [] {
        stdfs::path path =
            stdfs::temp_directory_path() / ("ludrin-fuzz-extract-" + std::to_string(::getpid()));
        stdfs::create_directories(path);
        return path;
    }();
    return folder;
}

// Clears write protection that read-only entries put on, then removes the tree.
void RemoveAll(const stdfs::path& path) {
    std::error_code ignored;
    for (auto it = stdfs::recursive_directory_iterator(path, ignored);
         it != stdfs::recursive_directory_iterator(); it.increment(ignored)) {
        stdfs::permissions(it->path(), stdfs::perms::owner_all, stdfs::perm_options::add, ignored);
    }
    stdfs::remove_all(path, ignored);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const stdfs::path& work = WorkFolder();
    const stdfs::path archive = work / "archive.zip";
    const stdfs::path base = work / "base";
    RemoveAll(base);
    stdfs::create_directories(base);
    {
        std::ofstream out(archive, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    }
    {
        using namespace ludrin::zip;
        TZipReader reader;
        // The answers a user could give, chosen so that every entry is tried: failures are
        // ignored, duplicates overwrite, passwords are not known.
        reader.OnProcessFileFailure = [](TZipBaseArchiver&, const std::wstring&,
                                         TZipProcessOperation, std::int32_t, std::int32_t,
                                         const std::wstring&, TZipAction& action) {
            action = TZipAction::fxaIgnore;
        };
        reader.OnConfirmOverwrite = [](TZipBaseArchiver&, const std::wstring&, std::wstring&,
                                       bool& confirm) {
            confirm = true;
        };
        reader.OnPassword = [](TZipBaseArchiver&, const std::wstring&, std::string&,
                               bool& skipFile) {
            skipFile = true;
        };
        reader.FileName = ludrin::text::Utf8ToWide(archive.string());
        try {
            reader.OpenArchive(ludrin::zip::kOpenModeReadDenyWrite);
            reader.BaseDir = ludrin::text::Utf8ToWide(base.string());
            reader.ExtractFiles(L"*.*", (data[0] & 1) != 0 ? 10431u : 0x28BFu, L"");
            reader.CloseArchive();
        } catch (const std::exception&) {
            // Refused as a whole: a clear error is all that is asked.
        }
    }
    // Only the archive and the base folder may be in the work folder.
    for (const auto& entry : stdfs::directory_iterator(work)) {
        if (entry.path() != archive && entry.path() != base) {
            std::abort();
        }
    }
    RemoveAll(base);
    return 0;
}
