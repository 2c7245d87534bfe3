#pragma once
// Extraction on real files: an archive written to a temporary folder, opened as the
// installer opens it, extracted below a fresh base folder, every event written down.

#include "support/temp_dir.hpp"
#include "support/zip_writer.hpp"
#include "zip/zip_reader.hpp"

#include "platform/text/utf.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace ludrin::zip::test {

inline const char* PhaseName(TZipProgressPhase phase) {
    switch (phase) {
    case TZipProgressPhase::ppStart:
        return "start";
    case TZipProgressPhase::ppProcess:
        return "process";
    case TZipProgressPhase::ppEnd:
        break;
    }
    return "end";
}

inline std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

// The installer's reader with every event written down as one line; the failure handler
// answers from a queue (Abort once it is empty), the other events keep their defaults
// unless a test sets them.
class RecordingArchiver : public TZipReader {
public:
    RecordingArchiver() {
        Name = "Archiver";
        OnOverallProgress = [this](TZipBaseArchiver&, double progress, TZipProcessOperation,
                                   TZipProgressPhase phase, bool& cancel) {
            overall.push_back(progress);
            Log("overall " + Number(progress) + " " + PhaseName(phase));
            if (cancelAtEvent == events.size()) {
                cancel = true;
            }
        };
        OnFileProgress = [this](TZipBaseArchiver&, const std::wstring& name, double progress,
                                TZipProcessOperation, TZipProgressPhase phase, bool& cancel) {
            Log("file " + text::WideToUtf8(name) + " " + Number(progress) + " " + PhaseName(phase));
            if (cancelAtEvent == events.size()) {
                cancel = true;
            }
        };
        OnConfirmProcessFile = [this](TZipBaseArchiver&, const std::wstring& name,
                                      TZipProcessOperation, bool&) {
            Log("confirm " + text::WideToUtf8(name));
        };
        OnExtractFile = [this](TZipBaseArchiver&, std::wstring& name, std::uint32_t& attr,
                               const std::string&) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "%X", attr);
            Log("extract " + text::WideToUtf8(name) + " " + hex);
        };
        OnProcessFileFailure = [this](TZipBaseArchiver&, const std::wstring& name,
                                      TZipProcessOperation, std::int32_t nativeError, std::int32_t,
                                      const std::wstring& message, TZipAction& action) {
            Log("failure " + text::WideToUtf8(name) + " " + std::to_string(nativeError));
            messages.push_back(text::WideToUtf8(message));
            if (answers.empty()) {
                action = TZipAction::fxaAbort;
            } else {
                action = answers.front();
                answers.erase(answers.begin());
            }
        };
    }

    void Log(std::string line) { events.push_back(std::move(line)); }

    std::vector<std::string> events;
    std::vector<double> overall;
    std::vector<std::string> messages;
    std::vector<TZipAction> answers;
    std::size_t cancelAtEvent = static_cast<std::size_t>(-1); // cancel when this many are logged
};

inline testing::ZipArchivePlan Entries(std::vector<testing::ZipEntryPlan> entries) {
    testing::ZipArchivePlan spec;
    spec.entries = std::move(entries);
    return spec;
}

// A temporary folder with the archive and the base folder "out" below it.
struct ExtractFixture {
    std::filesystem::path Archive(const testing::ZipArchivePlan& spec) {
        testing::WriteFile(temp / "archive.zip", testing::WriteZip(spec));
        return temp / "archive.zip";
    }
    void Open(TZipBaseArchiver& archiver, const testing::ZipArchivePlan& spec) {
        archiver.FileName = testing::Wide(Archive(spec));
        archiver.OpenArchive(kOpenModeReadDenyWrite);
        archiver.BaseDir = testing::Wide(base());
    }
    std::filesystem::path base() const { return temp / "out"; }

    testing::TempDir temp;
};

// The files and folders below `root`, relative, with '/' separators, folders ending in '/'.
inline std::vector<std::string> Tree(const std::filesystem::path& root) {
    std::vector<std::string> found;
    if (!std::filesystem::exists(root)) {
        return found;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        std::string relative = entry.path().lexically_relative(root).generic_string();
        if (entry.is_directory()) {
            relative += "/";
        }
        found.push_back(relative);
    }
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace ludrin::zip::test
