// ludrin-pack: builds the installer's form stream from the payload files, and lists,
// extracts and verifies the payload of a form stream, a bare container or an installer.

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
    if (command == "build") {
        // SLOT0 is required: a form without files would build an installer with no payload.
        if (args.size() < 4 || args[1] != "--out") {
            return Usage("build needs --out FORM.bin followed by the slot files");
        }
        return Build(args[2], {args.begin() + 3, args.end()}, std::cout);
    }
    if (command == "list" && (args.size() == 2 || (args.size() == 3 && args[2] == "--sha256"))) {
        return List(args[1], std::cout, args.size() == 3);
    }
    if (command == "report" && args.size() == 2) {
        return Report(args[1], std::cout);
    }
    if (command == "extract" && args.size() == 4) {
        return ExtractSlot(args[1], args[2], args[3], std::cout);
    }
    if (command == "verify" && args.size() == 2) {
        return Verify(args[1], std::cout);
    }
    if (command == "list-zip" && (args.size() == 2 || (args.size() == 3 && args[2] == "--test"))) {
        return ListZip(args[1], args.size() == 3, std::cout, std::cerr);
    }
    if (command == "check-zip" && (args.size() == 2 || (args.size() == 4 && args[2] == "--to"))) {
        return CheckZip(args[1], args.size() == 4 ? args[3] : std::string(), std::cout, std::cerr);
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
