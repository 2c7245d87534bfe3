// The payload of the built installer: the store it reads at start-up holds the payload
// folder's six files, the installer starts with it, the demo programs do what the
// installer's operations expect of them, and a copy whose payload is damaged or
// missing shows the start-up error and ends with a failing exit code.
//
// The damaged copies are made here, from the built installer's bytes: "cut short" lowers the
// StoredData length by half the container and moves the rest of the form up behind it (the
// resource keeps its size, zero-filled at the end), so the container ends inside its last
// records; "missing" renames the resource in the resource directory.

#include "app/win32/form_resource_win32.hpp"
#include "e2e/installer_driver.hpp"
#include "ludrin-pack/pe_resources.hpp"
#include "store/file_storage.hpp"
#include "store/form_stream.hpp"
#include "support/temp_dir.hpp"
#include "support/test_arguments.hpp"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

namespace ludrin::e2e {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ludrin::testing::Argument;

const wchar_t* const kSlots[] = {L"brvdll.zip",
                                 L"LUD.exe",
                                 L"Ludrin.exe",
                                 L"LAVFilters-0.75.0-2.exe",
                                 L"ffdshow_rev4532_20140717_clsid.exe",
                                 L"AviSynth_260.exe"};

Bytes ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

// Where a span found inside `image` starts in it.
std::size_t OffsetIn(const Bytes& image, std::span<const std::uint8_t> inner) {
    return static_cast<std::size_t>(inner.data() - image.data());
}

void CutContainerShort(Bytes& image) {
    const auto form = pack::FindRcData(image, u"TFORMMAIN");
    ASSERT_TRUE(form.has_value());
    const auto container = store::FindStoredData(*form);
    ASSERT_TRUE(container.has_value());
    const std::size_t at = OffsetIn(image, *container);
    const std::size_t length = container->size();
    const std::size_t cut = length / 2;
    const std::size_t formEnd = OffsetIn(image, *form) + form->size();
    // The rest of the form moves up behind the shortened container.
    std::copy(image.begin() + static_cast<std::ptrdiff_t>(at + length),
              image.begin() + static_cast<std::ptrdiff_t>(formEnd),
              image.begin() + static_cast<std::ptrdiff_t>(at + length - cut));
    std::fill(image.begin() + static_cast<std::ptrdiff_t>(formEnd - cut),
              image.begin() + static_cast<std::ptrdiff_t>(formEnd), 0);
    const auto shortened = static_cast<std::uint32_t>(length - cut);
    for (int i = 0; i < 4; ++i) {
        image[at - 4 + static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(shortened >> (8 * i));
    }
}

void RenameFormResource(Bytes& image) {
    // The resource directory's name entry: a 16-bit length, then the UTF-16 name.
    Bytes entry = {9, 0};
    for (char c : std::string("TFORMMAIN")) {
        entry.push_back(static_cast<std::uint8_t>(c));
        entry.push_back(0);
    }
    const auto found = std::search(image.begin(), image.end(), entry.begin(), entry.end());
    ASSERT_NE(found, image.end());
    ASSERT_EQ(std::search(found + 1, image.end(), entry.begin(), entry.end()), image.end())
        << "the name entry is not unique";
    *(found + static_cast<std::ptrdiff_t>(entry.size()) - 2) = 'X'; // TFORMMAIX
}

TEST(PayloadE2E, StoreHoldsThePayloadFolderFilesInSlotOrder) {
    const std::wstring installer = Argument(L"installer");
    const std::filesystem::path folder = Argument(L"payload-dir");
    // The installer's own reading code, over its resource mapped by the loader.
    const HMODULE module = LoadLibraryExW(
        installer.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr) << GetLastError();
    const auto form = win32::FindFormResource(module);
    ASSERT_TRUE(form.has_value());
    // The stored files read their packed bytes from the mapped resource: it stays mapped.
    const std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&FreeLibrary)> mapped(
        module, &FreeLibrary);
    store::TstFileStorage storage;
    store::ReadFormStream(*form, storage);

    ASSERT_EQ(storage.Count(), 6u);
    for (std::size_t slot = 0; slot < 6; ++slot) {
        const auto& file = *storage.Files[slot];
        EXPECT_EQ(file.FileName, kSlots[slot]);
        EXPECT_EQ(file.Size, std::filesystem::file_size(folder / kSlots[slot])) << slot;
    }

    // A slot written to disk is the payload file, byte for byte.
    testing::TempDir temp;
    const auto out = temp / L"cartella" / L"Ludrin.exe";
    ASSERT_TRUE(storage.Extract(2, out.wstring()));
    EXPECT_TRUE(ReadBytes(out) == ReadBytes(folder / kSlots[2]));
}

TEST(PayloadE2E, InstallerStartsWithItsPayload) {
    InstallerProcess installer(Argument(L"installer"));
    EXPECT_NE(installer.MainWindow(), nullptr);
    EXPECT_EQ(installer.FindTopLevel(L"#32770"), nullptr);
}

// The demo payload's programs, when the build embeds the demo (real installers are never
// started here).
class DemoPayloadE2E : public ::testing::Test {
protected:
    void SetUp() override {
        if (Argument(L"demo-payload") != L"yes") {
            GTEST_SKIP() << "the build embeds a payload folder, not the demo";
        }
        wchar_t appData[MAX_PATH] = {};
        ASSERT_TRUE(SUCCEEDED(
            SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)));
        appData_ = appData;
    }

    // Runs a program with arguments and answers its exit code.
    static DWORD Run(const std::filesystem::path& exe, const std::wstring& arguments) {
        std::wstring commandLine = L"\"" + exe.wstring() + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process)) {
            return 0xDEAD;
        }
        WaitForSingleObject(process.hProcess, 20000);
        DWORD code = 0xDEAD;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return code;
    }

    std::filesystem::path appData_;
};

TEST_F(DemoPayloadE2E, CodecInstallerStandInsLogTheirNameAndCommandLine) {
    const std::filesystem::path log = appData_ / L"ludrin-demo-installers.log";
    const auto before = std::filesystem::exists(log) ? std::filesystem::file_size(log) : 0;
    const std::filesystem::path folder = Argument(L"payload-dir");
    std::string expected;
    for (std::size_t slot = 3; slot < 6; ++slot) {
        const auto exe = folder / kSlots[slot];
        EXPECT_EQ(Run(exe, L"/VERYSILENT \"a b\""), 0u) << slot;
        const std::string name = exe.filename().string();
        expected += name + "\t\"" + exe.string() + "\" /VERYSILENT \"a b\"\r\n";
    }
    const Bytes all = ReadBytes(log);
    ASSERT_GE(all.size(), before);
    EXPECT_EQ(std::string(all.begin() + static_cast<std::ptrdiff_t>(before), all.end()), expected);
}

TEST_F(DemoPayloadE2E, LauncherStartsThePlayerBesideItWhichWritesItsSettings) {
    const std::filesystem::path folder = Argument(L"payload-dir");
    testing::TempDir temp;
    for (const wchar_t* name : {L"LUD.exe", L"Ludrin.exe"}) {
        std::filesystem::copy_file(folder / name, temp / name);
    }
    const auto settingsFolder = appData_ / L"brvdll";
    const bool hadSettings = std::filesystem::exists(settingsFolder);
    ASSERT_EQ(Run(temp / L"LUD.exe", L""), 0u);

    // The player's window, of a process started from the launcher's folder.
    HWND player = nullptr;
    for (int i = 0; i < 200 && player == nullptr; ++i) {
        player = FindWindowW(L"LudrinPlayer", L"Ludrin");
        Sleep(50);
    }
    ASSERT_NE(player, nullptr) << "the player's window did not appear";
    DWORD pid = 0;
    GetWindowThreadProcessId(player, &pid);
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, pid);
    ASSERT_NE(process, nullptr);
    wchar_t image[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    ASSERT_TRUE(QueryFullProcessImageNameW(process, 0, image, &length));
    EXPECT_TRUE(std::filesystem::equivalent(image, temp / L"Ludrin.exe"))
        << std::filesystem::path(image);
    EXPECT_TRUE(std::filesystem::exists(settingsFolder / L"regset" / L"SettaggiLUD.ini"));

    // It stays open until it is closed.
    EXPECT_EQ(WaitForSingleObject(process, 500), static_cast<DWORD>(WAIT_TIMEOUT));
    PostMessageW(player, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(process);
    if (!hadSettings) {
        std::error_code ignored;
        std::filesystem::remove_all(settingsFolder, ignored); // leave the Wine user as found
    }
}

// The form keeps its bytes but its store property gets another name: a form without
// StoredData.
void RenameStoredData(Bytes& image) {
    const auto form = pack::FindRcData(image, u"TFORMMAIN");
    ASSERT_TRUE(form.has_value());
    const auto container = store::FindStoredData(*form);
    ASSERT_TRUE(container.has_value());
    // The property's name lies in the form before its value; the program's own copy of
    // the word lies elsewhere in the image and stays.
    const std::string name = "StoredData";
    const auto begin = image.begin() + static_cast<std::ptrdiff_t>(OffsetIn(image, *form));
    const auto end = image.begin() + static_cast<std::ptrdiff_t>(OffsetIn(image, *container));
    const auto found = std::search(begin, end, name.begin(), name.end());
    ASSERT_NE(found, end);
    *(found + static_cast<std::ptrdiff_t>(name.size()) - 1) = 'X';
}

struct DamageCase {
    const char* name;
    void (*damage)(Bytes&);
    const wchar_t* reason; // a part of the technical reason
    friend void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.name; }
};

class DamagedInstaller : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedInstaller, ShowsTheStartUpErrorAndExitsWithFailure) {
    testing::TempDir temp;
    Bytes image = ReadBytes(Argument(L"installer"));
    GetParam().damage(image);
    if (HasFatalFailure()) {
        return;
    }
    const auto copy = temp / L"InstallLudrin.exe";
    WriteBytes(copy, image);

    InstallerProcess installer(copy.wstring(), StartOnly{});
    const auto box = installer.WaitForMessageBox(30s);
    ASSERT_TRUE(box.has_value()) << "no message box appeared";
    EXPECT_EQ(box->caption, L" Installazione Ludrin.");
    const std::wstring head = L"ERRORE- Il programma di installazione \u00E8 danneggiato.\r\n\r\n";
    EXPECT_EQ(box->text.substr(0, head.size()), head);
    const std::wstring reason = box->text.substr(std::min(head.size(), box->text.size()));
    EXPECT_NE(reason.find(GetParam().reason), std::wstring::npos)
        << std::string(reason.begin(), reason.end());
    EXPECT_EQ(reason.find(L'\n'), std::wstring::npos); // one line
    EXPECT_EQ(installer.FindTopLevel(L"TFormMain"), nullptr);

    Answer(*box, IDOK);
    const auto code = installer.WaitForExit(20s);
    ASSERT_TRUE(code.has_value()) << "the installer did not end";
    EXPECT_EQ(*code, 2u);

    // Unattended and quiet: the same exit code, and nothing on the screen.
    const auto quiet = RunToExit(copy.wstring(), L"/base /quiet", 30s);
    EXPECT_EQ(quiet.exitCode, std::optional<DWORD>(2u));
    EXPECT_FALSE(quiet.windowSeen);
}

INSTANTIATE_TEST_SUITE_P(
    Copies, DamagedInstaller,
    ::testing::Values(DamageCase{"container_cut_short", CutContainerShort, L"stored file"},
                      DamageCase{"form_resource_missing", RenameFormResource, L"TFORMMAIN"},
                      DamageCase{"stored_data_missing", RenameStoredData, L"no StoredData"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace ludrin::e2e
