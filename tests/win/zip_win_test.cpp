// The archive reader on Windows: the archive file opened with the mode's access and
// sharing against another holder of the file, and names decoded through the system's OEM
// and ANSI code pages.

#include "platform/fs/archive_file.hpp"
#include "support/temp_dir.hpp"
#include "support/test_arguments.hpp"
#include "support/zip_writer.hpp"
#include "zip/zip_reader.hpp"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ludrin::zip {
namespace {

using ludrin::testing::TempDir;
using ludrin::testing::Wide;
using ludrin::testing::WriteFile;
using ludrin::testing::ZipArchivePlan;
using ludrin::testing::ZipEntryPlan;

std::string Archive(std::vector<ZipEntryPlan> entries) {
    ZipArchivePlan spec;
    spec.entries = std::move(entries);
    return ludrin::testing::WriteZip(spec);
}

ZipEntryPlan Entry(const std::string& name, const std::string& data, std::uint16_t flags = 0) {
    ZipEntryPlan e = ludrin::testing::MakeEntry(name, data);
    e.flags = flags;
    return e;
}

// Another holder of the file, with its own access and sharing.
class Holder {
public:
    Holder(const std::wstring& path, DWORD access, DWORD share)
        : handle_(CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~Holder() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    bool Open() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

TEST(ZipWin, OpenModeMeetsAnotherHolderOfTheFile) {
    TempDir temp;
    const auto path = temp / "brvdll.zip";
    WriteFile(path, Archive({Entry("brvdll/a.dll", std::string(5000, 'a'))}));
    struct Case {
        const char* what;
        DWORD holderAccess;
        DWORD holderShare;
        std::uint16_t mode;
        bool opens;
    };
    const std::vector<Case> cases{
        {"holder writes, shares writing only; we read, deny writing", GENERIC_WRITE,
         FILE_SHARE_WRITE, 0x20, false},
        {"holder writes, shares everything; we deny writing", GENERIC_WRITE,
         FILE_SHARE_READ | FILE_SHARE_WRITE, 0x20, false},
        {"holder writes, shares everything; we deny nothing", GENERIC_WRITE,
         FILE_SHARE_READ | FILE_SHARE_WRITE, 0x40, true},
        {"holder reads, shares reading; we read, deny writing", GENERIC_READ, FILE_SHARE_READ, 0x20,
         true},
        {"holder reads, shares reading; we want exclusive use", GENERIC_READ, FILE_SHARE_READ, 0x10,
         false},
        {"holder reads, shares reading; we want to write too", GENERIC_READ, FILE_SHARE_READ, 0x22,
         false},
    };
    for (const Case& c : cases) {
        Holder holder(Wide(path), c.holderAccess, c.holderShare);
        ASSERT_TRUE(holder.Open()) << c.what;
        TZipReader reader;
        reader.FileName = Wide(path);
        try {
            reader.OpenArchive(c.mode);
            EXPECT_TRUE(c.opens) << c.what;
            EXPECT_EQ(reader.Count(), 1u) << c.what;
        } catch (const fs::FileOpenError& e) {
            EXPECT_FALSE(c.opens) << c.what << ": " << e.what();
        }
    }
}

TEST(ZipWin, WhileOpenOthersMayReadButNotWrite) {
    TempDir temp;
    const auto path = temp / "brvdll.zip";
    WriteFile(path, Archive({Entry("a.txt", "alpha")}));
    TZipReader reader;
    reader.FileName = Wide(path);
    reader.OpenArchive(kOpenModeReadDenyWrite);
    EXPECT_TRUE(Holder(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE).Open());
    EXPECT_FALSE(Holder(Wide(path), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE).Open());
    EXPECT_FALSE(DeleteFileW(Wide(path).c_str()));
    reader.CloseArchive();
    EXPECT_TRUE(Holder(Wide(path), GENERIC_WRITE, 0).Open());
}

TEST(ZipWin, NamesThroughTheSystemsCodePages) {
    if (GetOEMCP() != 437 || GetACP() != 1252) {
        GTEST_SKIP() << "expects OEM code page 437 and ANSI 1252, the system has " << GetOEMCP()
                     << " and " << GetACP();
    }
    const std::string oem = "Gr\x94\xE1"
                            "e-\x8E.txt"; // "Größe-Ä.txt" in code page 437
    TempDir temp;
    const auto path = temp / "names.zip";
    WriteFile(path, Archive({Entry(oem, "1"), Entry(oem, "2", 0x800),
                             Entry("caf\xC3\xA9.txt", "3", 0x800), Entry("caf\xE9.txt", "4", 0x800),
                             Entry("caf\x82.txt", "5")}));
    TZipReader reader;
    reader.FileName = Wide(path);
    reader.OpenArchive(kOpenModeReadDenyWrite);
    ASSERT_EQ(reader.Count(), 5u);
    const TZipDirArray& dir = reader.DMHandle()->CDir;
    EXPECT_EQ(dir[0].Name, L"Gr\u00F6\u00DFe-\u00C4.txt"); // OEM, then ANSI
    EXPECT_EQ(dir[1].Name, L"Gr\u201D\u00E1e-\u017D.txt"); // ANSI only: the flag is set
    EXPECT_EQ(dir[2].Name, L"caf\u00E9.txt");              // UTF-8
    EXPECT_EQ(dir[3].Name, L"caf\u00E9.txt");              // ANSI
    EXPECT_EQ(dir[4].Name, L"caf\u00E9.txt");              // OEM 0x82 is é
}

TEST(ZipWin, EntriesDecodeFromTheWindowsFile) {
    TempDir temp;
    const auto path = temp / "data.zip";
    const std::string big = ludrin::testing::RandomBytes(3 << 20, 4);
    WriteFile(path, Archive({Entry("big.bin", big), Entry("text.txt", "testo")}));
    TZipReader reader;
    reader.FileName = Wide(path);
    reader.OpenArchive(kOpenModeReadDenyWrite);
    MemoryZipOutput out;
    EXPECT_TRUE(reader.ExtractItem(0, out));
    EXPECT_TRUE(std::string(out.data.begin(), out.data.end()) == big);
}

// A command-line tool never asks: the Windows ludrin-pack meets an encrypted entry and ends
// with the answer of a build without a user interface, where the reader's default would
// open a password box and wait for ever.
TEST(ZipWin, LudrinPackNeverAsksForAPassword) {
    const std::wstring pack = ludrin::testing::Argument(L"pack");
    if (pack.empty()) {
        GTEST_SKIP() << "no --pack=ludrin-pack.exe given";
    }
    TempDir temp;
    ZipEntryPlan locked = Entry("locked.dll", "secret");
    locked.password = "pw";
    WriteFile(temp / "locked.zip", Archive({locked}));
    const std::wstring output = Wide(temp / "output.txt");
    for (const std::wstring command : {L"list-zip --test", L"check-zip"}) {
        std::wstring line =
            L"\"" + pack + L"\" " + command + L" \"" + Wide(temp / "locked.zip") + L"\"";
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        const HANDLE out = CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                       CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(out, INVALID_HANDLE_VALUE);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out;
        startup.hStdError = out;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessW(pack.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                   nullptr, &startup, &process));
        CloseHandle(out);
        const DWORD waited = WaitForSingleObject(process.hProcess, 30000);
        if (waited != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 99);
        }
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        EXPECT_EQ(waited, WAIT_OBJECT_0) << "still waiting after 30 s";
        EXPECT_EQ(code, 1u);
        const std::string said = ludrin::testing::ReadFile(temp / "output.txt");
        EXPECT_NE(said.find("password locked.dll -> cancel"), std::string::npos) << said;
    }
}

} // namespace
} // namespace ludrin::zip
