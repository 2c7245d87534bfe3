// check-zip: a test extraction with the installer's own reader and settings. Every event
// is printed as it fires; questions get the answers of a build without a user interface
// (Abort, No, Cancel), so a damaged archive ends the run as it would end the installer's
// batch. Each written file is read back and held to its entry's size and CRC-32 (read_back).

#include "commands.hpp"
#include "hash/crc32.hpp"
#include "platform/fs/archive_file.hpp"
#include "platform/fs/fs.hpp"
#include "platform/fs/path_separator.hpp"
#include "printable_name.hpp"
#include "read_back.hpp"
#include "temp_folder.hpp"
#include "unattended_reader.hpp"
#include "zip/installer_reading.hpp"
#include "zip/windows_names.hpp"
#include "zip/zip_reader.hpp"
#include "zip/zip_target_path.hpp"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <future>
#include <vector>

namespace ludrin::pack {
namespace {

const char* Phase(zip::TZipProgressPhase phase) {
    switch (phase) {
    case zip::TZipProgressPhase::ppStart:
        return "start";
    case zip::TZipProgressPhase::ppProcess:
        return "process";
    case zip::TZipProgressPhase::ppEnd:
        break;
    }
    return "end";
}

// printf's "%.2f", without its cost: two lines an entry go through here.
std::string Number(double value) {
    char text[320]; // room for the largest double written out in full
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
    return std::string(text, end.ptr);
}

// The installer's reader with every event printed and the non-interactive answers.
class CheckingReader final : public UnattendedReader {
public:
    explicit CheckingReader(std::ostream& out) : UnattendedReader(out) {}

    ReadBack* readBack = nullptr; // told of each entry the batch is done with

protected:
    void DoOnOverallProgress(double progress, zip::TZipProcessOperation operation,
                             zip::TZipProgressPhase phase, bool& cancel) override {
        notices_ << "overall " << Number(progress) << ' ' << Phase(phase) << '\n';
        TZipReader::DoOnOverallProgress(progress, operation, phase, cancel);
    }
    void DoOnFileProgress(const std::wstring& fileName, double progress,
                          zip::TZipProcessOperation operation, zip::TZipProgressPhase phase,
                          bool& cancel) override {
        notices_ << "file " << PrintableName(fileName) << ' ' << Number(progress) << ' '
                 << Phase(phase) << '\n';
        TZipReader::DoOnFileProgress(fileName, progress, operation, phase, cancel);
        if (phase == zip::TZipProgressPhase::ppEnd && readBack != nullptr) {
            readBack->Written(fileName);
        }
    }
    void DoOnConfirmProcessFile(const std::wstring& fileName, zip::TZipProcessOperation,
                                bool&) override {
        notices_ << "confirm " << PrintableName(fileName) << '\n';
    }
    void DoOnExtractFile(std::wstring& fileName, std::uint32_t& fileAttr,
                         const std::string&) override {
        char attr[16];
        std::snprintf(attr, sizeof attr, "%08x", fileAttr);
        notices_ << "extract " << PrintableName(fileName) << " attributes " << attr << '\n';
    }
};

std::wstring WideOf(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return text::Utf8ToWide(std::string(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

} // namespace

int CheckZip(const std::string& archive, const std::string& toDir, std::ostream& out,
             std::ostream& err) {
    const bool temporary = toDir.empty();
    const std::filesystem::path tempFolder =
        temporary ? FreshTempFolder("ludrin-check-zip-") : std::filesystem::path();
    struct Cleanup {
        const std::filesystem::path& folder;
        ~Cleanup() {
            if (!folder.empty()) {
                std::error_code ignored;
                std::filesystem::remove_all(folder, ignored);
            }
        }
    } cleanup{tempFolder};
    const std::wstring base = temporary ? WideOf(tempFolder) : text::Utf8ToWide(toDir);

    CheckingReader reader(out);
    zip::OpenAsInstaller(reader, text::Utf8ToWide(archive));
    reader.BaseDir = base;
    const zip::TZipDirArray& dir = reader.DMHandle()->CDir;
    ReadBack readBack(dir, base);
    reader.readBack = &readBack;
    // Names are compared as Windows would while the batch runs (on many entries the
    // comparison takes a visible share of the run); without a thread to spare, afterwards.
    auto windowsNames = std::async(std::launch::async | std::launch::deferred,
                                   [&dir] { return zip::WindowsNameProblems(dir); });
    zip::ExtractAsInstaller(reader);
    reader.readBack = nullptr;
    const zip::ZipBatchResult batch = reader.LastBatch();

    std::uint64_t bytes = 0;
    std::size_t wrong = 0;
    if (!batch.Complete()) {
        readBack.Stop();
    } else {
        const std::vector<std::string> problems = readBack.Problems();
        for (std::size_t i = 0; i < dir.Count(); ++i) {
            const zip::TDirItem& entry = dir[i];
            if (!problems[i].empty()) {
                ++wrong;
                out << "verify " << PrintableName(entry.Name) << ": " << problems[i] << '\n';
            } else if (!zip::IsFolderEntry(entry)) {
                bytes += entry.UncompressedSize();
            }
        }
    }
    out << "entries " << dir.Count() << ", selected " << batch.tagged << ", extracted "
        << batch.extracted << ", skipped " << batch.skipped << ", failed " << batch.failed
        << (batch.aborted ? ", aborted" : "") << ", bytes " << bytes << '\n';
    for (const std::string& failure : reader.failures) {
        out << "failed: " << failure << '\n';
    }
    // What this host wrote is not what Windows would write.
    const auto windowsProblems = windowsNames.get();
    for (const std::wstring& problem : windowsProblems) {
        out << "windows: " << PrintableName(problem) << '\n';
    }
    reader.CloseArchive();
    if (!batch.Complete() || wrong > 0 || !windowsProblems.empty()) {
        err << "ludrin-pack: " << archive << ": not every entry was extracted and verified\n";
        return kExitFailed;
    }
    out << "ok\n";
    return kExitOk;
}

} // namespace ludrin::pack
