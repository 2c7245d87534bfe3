// Archives made at test time by zip, 7zz, bsdtar and Python from one folder: the installer's
// reader lists what zipfile lists and decodes the folder's files byte for byte.

#include "platform/text/utf.hpp"
#include "support/temp_dir.hpp"
#include "support/zip_writer.hpp"
#include "unit/zip/zip_peer_util.hpp"
#include "zip/zip_error.hpp"
#include "zip/zip_reader.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace ludrin::zip {
namespace {

using namespace test;
using ludrin::testing::TempDir;
using ludrin::testing::WriteFile;

struct PeerArchive {
    const char* name;
    const char* tool; // skipped clearly when it is absent
    std::string (*command)(const std::string& source, const std::string& archive);
    std::string password = {};
};

std::string In(const std::string& source, const std::string& command) {
    return "cd " + Quote(source) + " && " + command;
}

std::string PythonWriter(const std::string& source, const std::string& archive,
                         const std::string& options) {
    const std::string script =
        "import os, sys, zipfile\n"
        "src, out = sys.argv[1], sys.argv[2]\n"
        "def run(f):\n"
        "    with zipfile.ZipFile(f, 'w', zipfile.ZIP_DEFLATED) as z:\n"
        "        for root, dirs, files in sorted(os.walk(src)):\n"
        "            for d in sorted(dirs):\n"
        "                z.write(os.path.join(root, d), os.path.relpath(os.path.join(root, d), "
        "src))\n"
        "            for n in sorted(files):\n"
        "                p = os.path.join(root, n)\n"
        "                with open(p, 'rb') as i, z.open(os.path.relpath(p, src), 'w',"
        " force_zip64=" +
        std::string(options == "zip64" ? "True" : "False") +
        ") as o:\n"
        "                    o.write(i.read())\n" +
        (options == "stream" ? "run(sys.stdout.buffer)\n" : "run(out)\n");
    const std::string run = Quote("/usr/bin/python3") + " -c " + Quote(script) + " " +
                            Quote(source) + " " + Quote(archive);
    return options == "stream" ? run + " | cat > " + Quote(archive) : run;
}

const PeerArchive kPeers[] = {
    {"zip_deflated", "zip",
     [](const std::string& s, const std::string& a) {
         return In(s, "zip -qr " + Quote(a) + " .");
     }},
    {"zip_stored", "zip",
     [](const std::string& s, const std::string& a) {
         return In(s, "zip -qr0 " + Quote(a) + " .");
     }},
    {"zip_zip64", "zip",
     [](const std::string& s, const std::string& a) {
         return In(s, "zip -qr -fz " + Quote(a) + " .");
     }},
    {"zip_from_stdin_descriptors", "zip",
     [](const std::string& s, const std::string& a) {
         return In(s, "cat dir/sub/big.txt | zip -q " + Quote(a) + " -");
     }},
    {"zip_encrypted", "zip",
     [](const std::string& s, const std::string& a) {
         return In(s, "zip -qr -P secret " + Quote(a) + " .");
     },
     "secret"},
    {"7zz_deflate", "7zz",
     [](const std::string& s, const std::string& a) {
         return In(s, "7zz a -tzip -bd -bso0 " + Quote(a) + " .");
     }},
    {"7zz_utf8_names", "7zz",
     [](const std::string& s, const std::string& a) {
         return In(s, "7zz a -tzip -mcu=on -bd -bso0 " + Quote(a) + " .");
     }},
    {"7zz_encrypted", "7zz",
     [](const std::string& s, const std::string& a) {
         return In(s, "7zz a -tzip -psecret -bd -bso0 " + Quote(a) + " .");
     },
     "secret"},
    {"7zz_deflate64", "7zz",
     [](const std::string& s, const std::string& a) {
         return In(s, "7zz a -tzip -mm=Deflate64 -bd -bso0 " + Quote(a) + " .");
     }},
    {"bsdtar", "bsdtar",
     [](const std::string& s, const std::string& a) {
         return In(s, "bsdtar --format zip -cf " + Quote(a) + " .");
     }},
    {"bsdtar_stored", "bsdtar",
     [](const std::string& s, const std::string& a) {
         return In(s, "bsdtar --format zip --options zip:compression=store -cf " + Quote(a) + " .");
     }},
    {"python_deflated", "/usr/bin/python3",
     [](const std::string& s, const std::string& a) {
         return PythonWriter(s, a, "");
     }},
    {"python_zip64", "/usr/bin/python3",
     [](const std::string& s, const std::string& a) {
         return PythonWriter(s, a, "zip64");
     }},
    {"python_unseekable_stream", "/usr/bin/python3",
     [](const std::string& s, const std::string& a) {
         return PythonWriter(s, a, "stream");
     }},
};

class ZipPeers : public ::testing::TestWithParam<PeerArchive> {
protected:
    void SetUp() override {
        if (!HaveTool(GetParam().tool)) {
            GTEST_SKIP() << GetParam().tool << " is not installed (scripts/lib.sh installs it)";
        }
        if (!HavePython()) {
            GTEST_SKIP() << "python3 is not installed";
        }
        const auto src = temp / "src";
        WriteFile(src / "readme.txt", ludrin::testing::TextBytes(5000, 1));
        WriteFile(src / "empty.txt", "");
        // More than one decoding chunk of output, and of compressed input.
        WriteFile(src / "dir/sub/big.txt", ludrin::testing::TextBytes(3 << 20, 2));
        WriteFile(src / "dir/random.bin", ludrin::testing::RandomBytes((3 << 20) / 2, 3));
        std::filesystem::create_directories(src / "dir/emptydir");
        WriteFile(src / "caff\xC3\xA8/\xC3\xA8.txt", "accentata\n");
    }
    TempDir temp;
};

TEST_P(ZipPeers, ReaderAgreesWithZipfileAndTheSourceFiles) {
    const PeerArchive& peer = GetParam();
    const auto archive = temp / "made.zip";
    const CommandResult made = RunCommand(peer.command((temp / "src").string(), archive.string()));
    ASSERT_EQ(made.code, 0) << made.output;
    const OracleListing python = ReadWithPython(archive, peer.password);
    ASSERT_TRUE(python.opened) << python.error;
    // zipfile reads no Deflate64 either; the entries 7zz stored are compared below.
    if (std::string(peer.name) != "7zz_deflate64") {
        CompareWithOracle(archive, peer.password, python, NameCheck::kFlaggedOrAscii, false);
    }

    TZipReader reader;
    reader.FileName = ludrin::testing::Wide(archive);
    reader.SetPassword(peer.password);
    reader.OpenArchive(kOpenModeReadDenyWrite);
    std::size_t files = 0;
    std::size_t deflate64 = 0;
    for (std::size_t i = 0; i < reader.Count(); ++i) {
        const TDirItem& item = reader.DMHandle()->CDir[i];
        const auto source = temp / "src" / ludrin::text::WideToUtf8(item.Name);
        if (item.Name == L"-") {
            ++files; // the file zip read from its standard input
            continue;
        }
        if (item.Name.back() == L'/' || !std::filesystem::is_regular_file(source)) {
            continue;
        }
        ++files;
        MemoryZipOutput out;
        if (item.CompressionMethod == 9) {
            try {
                reader.DecodeItem(i, out);
                ADD_FAILURE() << "Deflate64 decoded";
            } catch (const EZipException& e) {
                EXPECT_EQ(e.NativeError(), 55);
            }
            ++deflate64;
            continue;
        }
        EXPECT_TRUE(reader.ExtractItem(i, out)) << item.Name.size();
        EXPECT_TRUE(std::string(out.data.begin(), out.data.end()) ==
                    ludrin::testing::ReadFile(source))
            << ludrin::text::WideToUtf8(item.Name);
    }
    EXPECT_EQ(deflate64 > 0, std::string(peer.name) == "7zz_deflate64");
    // Every file of the folder, except the accented one whose name decodes by policy.
    EXPECT_GE(files, std::string(peer.name) == "zip_from_stdin_descriptors" ? 1u : 4u);
}

INSTANTIATE_TEST_SUITE_P(Tools, ZipPeers, ::testing::ValuesIn(kPeers),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace ludrin::zip
