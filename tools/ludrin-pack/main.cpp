// ludrin-pack: builds the installer's form stream from the payload files, and lists,
// extracts and verifies the payload of a form stream, a bare container or an installer.

#include "command_line.hpp"
#include "commands.hpp"
#include "platform/text/utf.hpp"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  ludrin-pack build --out FORM.bin SLOT0 [SLOT1 ...]\n"
    "      pack the files, in slot order, into a binary form stream (TPF0) whose store\n"
    "      component carries them in its StoredData property\n"
    "  ludrin-pack list FILE [--sha256]\n"
    "      list the stored files of FILE: a form stream, a bare container, or an\n"
    "      installer executable (its RCDATA resource TFORMMAIN); --sha256 unpacks each\n"
    "      file and adds its SHA-256 before the name\n"
    "  ludrin-pack extract FILE SLOT OUT\n"
    "      write the stored file at SLOT (from 0) to OUT, creating its folders\n"
    "  ludrin-pack verify FILE\n"
    "      check that every stored file unpacks to exactly its size and packs back to\n"
    "      the same bytes\n"
    "  ludrin-pack list-zip ARCHIVE [--test]\n"
    "      list the entries of a ZIP archive as the installer reads it, one line each,\n"
    "      tab-separated: index, method, compressed size, size, CRC-32, external\n"
    "      attributes, flags, name; --test decodes each entry and adds ok or the error\n"
    "  ludrin-pack check-zip ARCHIVE [--to DIR]\n"
    "      extract the archive with the installer's settings into DIR (default: a\n"
    "      temporary folder, removed afterwards), print every event in order and a\n"
    "      summary, and check each written file against its entry's size and CRC-32\n"
    "  ludrin-pack report INSTALLER\n"
    "      the release report, tab-separated and free of paths and dates so that two\n"
    "      reports can be compared with diff: file version, every stored file with\n"
    "      size, SHA-256 and name, and the entry count and unpacked total of the ZIP\n"
    "      archive in slot 0; fails when fewer than six files are stored\n"
    "  ludrin-pack --help\n"
    "options may come before, between or after the operands; -- ends them\n"
    "exit codes: 0 success, 1 bad input or failed check, 2 wrong usage\n";

int Usage(const std::string& problem) {
    std::cerr << "ludrin-pack: " << problem << "\n" << kUsage;
    return ludrin::pack::kExitUsage;
}

int Run(const std::vector<std::string>& args) {
    using namespace ludrin::pack;
    if (args.empty()) {
        return Usage("no command given");
    }
    const std::string& command = args[0];
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kUsage;
        return kExitOk;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "build") {
        // SLOT0 is required: a form without files would build an installer with no payload.
        const CommandLine line = SplitArguments(rest, {{}, {"--out"}});
        if (line.Value("--out").empty() || line.operands.empty()) {
            return Usage("build needs --out FORM.bin followed by the slot files");
        }
        return Build(line.Value("--out"), line.operands, std::cout);
    }
    const CommandLine line = SplitArguments(rest, {{"--sha256", "--test"}, {"--to"}});
    const std::size_t operands = line.operands.size();
    const bool onlyFlag = line.values.empty() && line.flags.size() <= 1;
    if (command == "list" && operands == 1 && onlyFlag && !line.Has("--test")) {
        return List(line.operands[0], std::cout, line.Has("--sha256"));
    }
    const bool bare = line.flags.empty() && line.values.empty();
    if (command == "report" && operands == 1 && bare) {
        return Report(line.operands[0], std::cout);
    }
    if (command == "extract" && operands == 3 && bare) {
        return ExtractSlot(line.operands[0], line.operands[1], line.operands[2], std::cout);
    }
    if (command == "verify" && operands == 1 && bare) {
        return Verify(line.operands[0], std::cout);
    }
    if (command == "list-zip" && operands == 1 && onlyFlag && !line.Has("--sha256")) {
        return ListZip(line.operands[0], line.Has("--test"), std::cout, std::cerr);
    }
    if (command == "check-zip" && operands == 1 && line.flags.empty()) {
        return CheckZip(line.operands[0], line.Value("--to"), std::cout, std::cerr);
    }
    if (command == "list" || command == "extract" || command == "verify" || command == "list-zip" ||
        command == "check-zip" || command == "report") {
        return Usage("wrong number of arguments for " + command);
    }
    return Usage("unknown command \"" + command + "\"");
}

int Main(const std::vector<std::string>& args) {
    try {
        return Run(args);
    } catch (const std::invalid_argument& error) {
        return Usage(error.what());
    } catch (const std::exception& error) {
        std::cerr << "ludrin-pack: error: " << error.what() << "\n";
        return ludrin::pack::kExitFailed;
    }
}

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(ludrin::text::WideToUtf8(argv[i]));
    }
    return Main(args);
}
#else
int main(int argc, char** argv) {
    return Main({argv + 1, argv + argc});
}
#endif
