// list-zip: an archive as the installer's reader sees it, one line per entry, so that a
// release engineer can check a payload archive before building.

#include "commands.hpp"
#include "platform/text/utf.hpp"
#include "printable_name.hpp"
#include "unattended_reader.hpp"
#include "zip/installer_reading.hpp"
#include "zip/windows_names.hpp"
#include "zip/zip_error.hpp"
#include "zip/zip_reader.hpp"

#include <cstdio>
#include <exception>

namespace ludrin::pack {
namespace {

// Decoded bytes are checked, not kept.
class DiscardingOutput final : public zip::ZipOutput {
public:
    std::size_t Write(std::span<const std::uint8_t> bytes) override { return bytes.size(); }
};

std::string Hex(std::uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*x", digits, value);
    return text;
}

// "ok", or the message of the archive error that decoding the entry gives.
std::string TestEntry(UnattendedReader& reader, std::size_t index) {
    try {
        DiscardingOutput out;
        const zip::ZipDecodeResult result = reader.DecodeItem(index, out);
        if (result.ok) {
            return "ok";
        }
        const auto native =
            result.skipped ? zip::native::kInvalidPassword : zip::native::kDecodeFailed;
        return zip::EZipException(native, reader.Name).what();
    } catch (const std::exception& error) {
        return error.what();
    }
}

} // namespace

int ListZip(const std::string& archive, bool test, std::ostream& out, std::ostream& err) {
    // The installer's reader; what it would ask is answered, and said, on the error stream.
    UnattendedReader reader(err, "ludrin-pack: ");
    zip::OpenAsInstaller(reader, text::Utf8ToWide(archive));
    std::size_t failed = 0;
    for (std::size_t i = 0; i < reader.Count(); ++i) {
        const zip::TDirItem& item = (*reader.DMHandle()).CDir[i];
        const zip::TZipCentralDir& c = item.CentralDir;
        out << i << '\t' << c.compMethod << '\t' << item.CompressedSize() << '\t'
            << item.UncompressedSize() << '\t' << Hex(c.crc32, 8) << '\t' << Hex(c.externalAttr, 8)
            << '\t' << Hex(c.genPurposeFlag, 4) << '\t' << PrintableName(item.Name);
        if (test) {
            const std::string outcome = TestEntry(reader, i);
            failed += outcome != "ok";
            out << '\t' << outcome;
        }
        out << '\n';
    }
    const std::size_t count = reader.Count();
    const auto windowsProblems = zip::WindowsNameProblems(reader.DMHandle()->CDir);
    reader.CloseArchive();
    if (test) {
        for (const std::wstring& problem : windowsProblems) {
            err << "ludrin-pack: windows: " << PrintableName(problem) << '\n';
        }
    }
    if (failed > 0) {
        err << "ludrin-pack: " << failed << " of " << count << " entries failed\n";
    }
    return failed > 0 || (test && !windowsProblems.empty()) ? kExitFailed : kExitOk;
}

} // namespace ludrin::pack
