#pragma once
// Tools that nobody here wrote, as oracles: Python's zipfile lists and reads an archive,
// and the installer's reader must agree with it.

#include <filesystem>
#include <string>
#include <vector>

namespace ludrin::zip::test {

// Runs a command line; answers its exit code and what it wrote to standard output.
struct CommandResult {
    int code;
    std::string output;
};
CommandResult RunCommand(const std::string& commandLine);
std::string Quote(const std::string& text);

// ludrin-pack run as the real program; its standard error goes through a file in `scratch`.
struct ToolRun {
    int code;
    std::string out;
    std::string err;
};
ToolRun RunPack(const std::vector<std::string>& args, const std::filesystem::path& scratch);

bool HavePython();
bool HaveTool(const std::string& name);

// The oracle script's lines, split at tabs.
std::vector<std::vector<std::string>> RunOracle(const std::vector<std::string>& args);

struct OracleEntry {
    std::string name;
    std::uint16_t method;
    std::uint64_t compressedSize;
    std::uint64_t size;
    std::uint32_t crc;
    std::uint16_t flags;
    std::string status; // "ok" or zipfile's error
    std::string content;
};

struct OracleListing {
    bool opened = false;
    std::string error;
    std::vector<OracleEntry> entries;
};

OracleListing ReadWithPython(const std::filesystem::path& archive, const std::string& password);

struct OpenOutcome {
    bool opened;
    std::int32_t native; // of the archive error that refused it, else 0
    std::string error;
    bool rebuilt; // the directory came from the local headers
};

// Opens with the installer's instance and settings.
OpenOutcome OpenAsInstaller(const std::filesystem::path& archive);

// Which names must equal zipfile's: all, or those that zipfile cannot decode otherwise
// (ASCII, or flagged as UTF-8).
enum class NameCheck { kAll, kFlaggedOrAscii };

// Lists and decodes every entry with the installer's reader and compares with zipfile.
// `unsupportedAllowed`: entries of methods other than stored and deflate may fail.
void CompareWithOracle(const std::filesystem::path& archive, const std::string& password,
                       const OracleListing& python, NameCheck names, bool unsupportedAllowed);

} // namespace ludrin::zip::test
