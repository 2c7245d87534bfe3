// report: what a release ships, in a stable form that a release checklist can diff. No paths,
// no dates: two builds of the same payload give the same text.

#include "app/installation_layout.hpp"
#include "commands.hpp"
#include "payload_input.hpp"
#include "payload_walk.hpp"
#include "pe_resources.hpp"
#include "platform/text/utf.hpp"
#include "printable_name.hpp"
#include "stored_digest.hpp"
#include "temp_folder.hpp"
#include "unattended_reader.hpp"
#include "version_resource.hpp"
#include "zip/installer_reading.hpp"
#include "zip/zip_reader.hpp"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace ludrin::pack {
namespace {

// The installer refuses to start with fewer stored files than its six slots.

std::string FileVersion(const PayloadInput& input) {
    if (!LooksLikePeImage(input.file->Bytes())) {
        return "-";
    }
    const auto resource = FindVersionResource(input.file->Bytes());
    return resource ? FixedFileVersion(*resource) : "-";
}

struct ZipSummary {
    std::size_t entries = 0;
    std::uint64_t unpacked = 0;
};

// The archive's directory as the installer's reader loads it, from a copy of the stored
// file, written piece by piece, in a private temporary folder that goes away afterwards.
ZipSummary SummariseZip(const store::RecordView& record, bool packed) {
    struct Folder {
        std::filesystem::path path = FreshTempFolder("ludrin-report-");
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    } folder;
    const auto file = folder.path / "slot0.zip";
    {
        std::ofstream out(file, std::ios::binary);
        ReadStoredPieces(record, packed, [&out](std::span<const std::uint8_t> piece) {
            out.write(reinterpret_cast<const char*>(piece.data()),
                      static_cast<std::streamsize>(piece.size()));
        });
        if (!out) {
            throw std::runtime_error("cannot write a copy of stored file 0 to " + file.string());
        }
    }
    std::ostringstream unasked; // opening asks nothing; were it to, nobody is asked
    UnattendedReader reader(unasked);
    const std::u8string utf8 = file.u8string();
    zip::OpenAsInstaller(reader, text::Utf8ToWide(std::string(utf8.begin(), utf8.end())));
    ZipSummary summary;
    summary.entries = reader.Count();
    for (std::size_t i = 0; i < reader.Count(); ++i) {
        summary.unpacked += (*reader.DMHandle()).CDir[i].UncompressedSize();
    }
    reader.CloseArchive();
    return summary;
}

} // namespace

int Report(const std::string& file, std::ostream& out) {
    const auto input = LoadPayload(PathFromUtf8(file));
    if (!input.hasContainer) {
        throw std::runtime_error(file + " holds no stored files");
    }
    const std::string version = FileVersion(input);
    const auto view = WalkPayload(input);
    out << "ludrin-pack report 1\n";
    out << "file-version\t" << version << '\n';
    out << "stored-files\t" << view.records.size() << '\n';
    out << "slot\tsize\tsha256\tname\n";
    for (std::size_t slot = 0; slot < view.records.size(); ++slot) {
        const auto& record = view.records[slot];
        std::string digest;
        try {
            digest = StoredFileSha256(record, view.compressed);
        } catch (const store::EStoreError& error) {
            RecordDamaged(input, slot, record, error);
        }
        out << slot << '\t' << record.size << '\t' << digest << '\t' << EscapedName(record.name)
            << '\n';
    }
    if (!view.records.empty()) {
        try {
            const auto summary = SummariseZip(view.records[0], view.compressed);
            out << "zip-entries\t" << summary.entries << '\n';
            out << "zip-unpacked\t" << summary.unpacked << '\n';
        } catch (const std::exception& error) {
            throw std::runtime_error("stored file 0 is not a readable ZIP archive: " +
                                     std::string(error.what()));
        }
    }
    if (view.records.size() < app::kPayloadSlotCount) {
        throw std::runtime_error("the installer needs " + std::to_string(app::kPayloadSlotCount) +
                                 " stored files, this payload has " +
                                 std::to_string(view.records.size()));
    }
    return kExitOk;
}

} // namespace ludrin::pack
