#include "unit/zip/zip_peer_util.hpp"

#include "platform/text/utf.hpp"
#include "support/temp_dir.hpp"
#include "zip/zip_error.hpp"
#include "zip/zip_reader.hpp"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#if !defined(LUDRIN_PYTHON) || !defined(LUDRIN_ZIP_ORACLE)
#error "LUDRIN_PYTHON and LUDRIN_ZIP_ORACLE must name the interpreter and the oracle script"
#endif

namespace ludrin::zip::test {
namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

std::vector<std::vector<std::string>> Lines(const std::string& text) {
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(SplitTabs(line));
    }
    return lines;
}

struct OurEntry {
    bool ok;
    std::string content;
    std::string error;
};

} // namespace

std::string Quote(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

CommandResult RunCommand(const std::string& commandLine) {
    ludrin::testing::TempDir temp;
    const auto log = temp / "output.txt";
    const int status = std::system(("(" + commandLine + ") >" + Quote(log.string())).c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ludrin::testing::ReadFile(log)};
}

bool HavePython() {
    return std::filesystem::exists(LUDRIN_PYTHON);
}

bool HaveTool(const std::string& name) {
    return RunCommand("command -v " + Quote(name)).code == 0;
}

ToolRun RunPack(const std::vector<std::string>& args, const std::filesystem::path& scratch) {
    std::string command = Quote(LUDRIN_PACK_EXE);
    for (const auto& arg : args) {
        command += " " + Quote(arg);
    }
    const auto err = scratch / "stderr.txt";
    const CommandResult result = RunCommand(command + " 2>" + Quote(err.string()));
    return {result.code, result.output, ludrin::testing::ReadFile(err)};
}

std::vector<std::vector<std::string>> RunOracle(const std::vector<std::string>& args) {
    std::string command = Quote(LUDRIN_PYTHON) + " " + Quote(LUDRIN_ZIP_ORACLE);
    for (const auto& arg : args) {
        command += " " + Quote(arg);
    }
    const CommandResult result = RunCommand(command);
    EXPECT_EQ(result.code, 0) << command;
    return Lines(result.output);
}

OracleListing ReadWithPython(const std::filesystem::path& archive, const std::string& password) {
    ludrin::testing::TempDir out;
    std::vector<std::string> args{"entries", archive.string(), out.Path().string()};
    if (!password.empty()) {
        args.push_back(password);
    }
    RunOracle(args);
    OracleListing listing;
    listing.opened = true;
    for (const auto& f : Lines(ludrin::testing::ReadFile(out / "entries.tsv"))) {
        if (f.at(0) == "open-failed") {
            listing.opened = false;
            listing.error = f.size() > 1 ? f[1] : "";
            continue;
        }
        OracleEntry e{f.at(1),
                      static_cast<std::uint16_t>(std::stoul(f.at(2))),
                      std::stoull(f.at(3)),
                      std::stoull(f.at(4)),
                      static_cast<std::uint32_t>(std::stoul(f.at(5), nullptr, 16)),
                      static_cast<std::uint16_t>(std::stoul(f.at(6), nullptr, 16)),
                      f.at(7),
                      {}};
        if (e.status == "ok") {
            e.content = ludrin::testing::ReadFile(out / (f[0] + ".bin"));
        }
        listing.entries.push_back(std::move(e));
    }
    return listing;
}

OpenOutcome OpenAsInstaller(const std::filesystem::path& archive) {
    TZipReader reader;
    reader.Name = "Archiver";
    reader.FileName = ludrin::testing::Wide(archive);
    try {
        reader.OpenArchive(kOpenModeReadDenyWrite);
        const auto* dm = reader.DMHandle();
        return {true, 0, "",
                dm->CentralDirOffset ==
                        static_cast<std::int64_t>(std::filesystem::file_size(archive)) &&
                    dm->CDir.Count() > 0};
    } catch (const EZipException& e) {
        return {false, e.NativeError(), e.what(), false};
    } catch (const std::exception& e) {
        return {false, 0, e.what(), false};
    }
}

void CompareWithOracle(const std::filesystem::path& archive, const std::string& password,
                       const OracleListing& python, NameCheck names, bool unsupportedAllowed) {
    TZipReader reader;
    reader.Name = "Archiver";
    reader.FileName = ludrin::testing::Wide(archive);
    reader.SetPassword(password);
    reader.OpenArchive(kOpenModeReadDenyWrite);
    ASSERT_EQ(reader.Count(), python.entries.size());
    for (std::size_t i = 0; i < reader.Count(); ++i) {
        const TDirItem& item = reader.DMHandle()->CDir[i];
        const OracleEntry& p = python.entries[i];
        SCOPED_TRACE("entry " + std::to_string(i) + " " + p.name);
        EXPECT_EQ(item.CentralDir.compMethod, p.method);
        EXPECT_EQ(item.CompressedSize(), p.compressedSize);
        EXPECT_EQ(item.UncompressedSize(), p.size);
        EXPECT_EQ(item.CentralDir.crc32, p.crc);
        EXPECT_EQ(item.CentralDir.genPurposeFlag, p.flags);
        const bool ascii = std::all_of(p.name.begin(), p.name.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (names == NameCheck::kAll || ascii || (p.flags & 0x800) != 0) {
            EXPECT_EQ(ludrin::text::WideToUtf8(item.Name), p.name);
        }
        OurEntry ours{false, {}, {}};
        try {
            MemoryZipOutput out;
            ours.ok = reader.DecodeItem(i, out).ok;
            ours.content.assign(out.data.begin(), out.data.end());
        } catch (const std::exception& e) {
            ours.error = e.what();
        }
        const bool supported = item.CompressionMethod == 0 || item.CompressionMethod == 8;
        if (p.status == "ok" && (supported || !unsupportedAllowed)) {
            EXPECT_TRUE(ours.ok) << ours.error;
            EXPECT_TRUE(ours.content == p.content) << "decoded bytes differ from zipfile's";
        } else if (p.status != "ok") {
            EXPECT_FALSE(ours.ok) << "zipfile failed: " << p.status;
        }
    }
}

} // namespace ludrin::zip::test
