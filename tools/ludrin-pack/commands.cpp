#include "commands.hpp"
#include "payload_input.hpp"
#include "payload_walk.hpp"
#include "platform/text/utf.hpp"
#include "printable_name.hpp"
#include "store/block_packer.hpp"
#include "store/container_layout.hpp"
#include "store/file_storage.hpp"
#include "store/form_stream.hpp"
#include "stored_digest.hpp"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <stdexcept>

namespace ludrin::pack {
namespace {

std::wstring WidePath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return text::Utf8ToWide(std::string(utf8.begin(), utf8.end()));
}

std::uint32_t ParseSlot(const std::string& text) {
    if (text.empty() || text.size() > 10 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        throw std::invalid_argument("slot must be a decimal number, not \"" + text + "\"");
    }
    const unsigned long long value = std::stoull(text);
    if (value > std::numeric_limits<std::uint32_t>::max()) {
        throw std::invalid_argument("slot " + text + " is out of range");
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace

int Build(const std::string& out, const std::vector<std::string>& slots, std::ostream& log) {
    store::TstFileStorage storage;
    for (const auto& slot : slots) {
        const auto path = PathFromUtf8(slot);
        auto file = std::make_unique<store::TStoredFile>(&storage);
        file->Data = ReadFileBytes(path);
        if (file->Data.size() > std::numeric_limits<std::uint32_t>::max()) {
            throw std::runtime_error(slot + ": a stored file must be smaller than 4 GiB");
        }
        file->Size = static_cast<std::uint32_t>(file->Data.size());
        file->FileName = WidePath(path.filename());
        storage.Files.push_back(std::move(file));
    }
    const auto form = store::WriteFormStream(storage);
    const auto outPath = PathFromUtf8(out);
    std::ofstream stream(outPath, std::ios::binary | std::ios::trunc);
    stream.write(reinterpret_cast<const char*>(form.data()),
                 static_cast<std::streamsize>(form.size()));
    stream.close();
    if (!stream) {
        throw std::runtime_error("cannot write " + out);
    }
    log << "wrote " << out << ": " << storage.Count() << " stored files, " << storage.DataSize()
        << " bytes, form stream of " << form.size() << " bytes\n";
    return kExitOk;
}

int List(const std::string& file, std::ostream& out, bool sha256) {
    const auto input = LoadPayload(PathFromUtf8(file));
    out << "source: " << input.source << "\n";
    if (!input.hasContainer) {
        out << "no StoredData: the store is empty\n";
        return kExitOk;
    }
    const auto view = WalkPayload(input);
    std::uint32_t dataSize = 0;
    out << "container: " << input.container.size() << " bytes, layout "
        << (view.compressed ? "signature (SFP1, packed)" : "legacy (unpacked)") << ", "
        << view.count << " stored files\n";
    out << "slot\tsize\tpacked\tblocks\tescape\ttable\t" << (sha256 ? "sha256\t" : "") << "name\n";
    for (std::size_t slot = 0; slot < view.records.size(); ++slot) {
        const auto& record = view.records[slot];
        dataSize += record.size;
        out << slot << '\t' << record.size << '\t';
        if (view.compressed) {
            store::BlockCounts blocks;
            try {
                blocks = store::CountBlocks(record.body);
            } catch (const store::EStoreError& error) {
                out << '\n';
                RecordDamaged(input, slot, record, error);
            }
            out << record.length << '\t' << blocks.Total() << '\t' << blocks.escape << '\t'
                << blocks.positionTable;
        } else {
            out << "-\t-\t-\t-";
        }
        if (sha256) {
            try {
                out << '\t' << StoredFileSha256(record, view.compressed);
            } catch (const store::EStoreError& error) {
                out << '\n';
                RecordDamaged(input, slot, record, error);
            }
        }
        out << '\t' << EscapedName(record.name) << '\n';
    }
    out << "DataSize: " << dataSize << "\n";
    if (view.end != input.container.size()) {
        out << "note: " << input.container.size() - view.end << " bytes follow the last record\n";
    }
    return kExitOk;
}

int ExtractSlot(const std::string& file, const std::string& slotText, const std::string& out,
                std::ostream& log) {
    const std::uint32_t slot = ParseSlot(slotText);
    const auto input = LoadPayload(PathFromUtf8(file));
    if (!input.hasContainer) {
        throw std::runtime_error(file + " holds no stored files");
    }
    const auto view = WalkPayload(input);
    if (slot >= view.records.size()) {
        throw std::runtime_error("slot " + slotText + " is out of range: the container holds " +
                                 std::to_string(view.records.size()) + " stored files");
    }
    const auto& record = view.records[slot];
    store::TStoredFile stored;
    if (view.compressed) {
        try {
            store::UnpackRecord(record, stored.Data);
        } catch (const store::EStoreError& error) {
            RecordDamaged(input, slot, record, error);
        }
    } else {
        stored.Data.assign(record.body.begin(), record.body.end());
    }
    stored.Size = record.size;
    if (!stored.Extract(WidePath(PathFromUtf8(out)), true)) {
        throw std::runtime_error("cannot write " + out);
    }
    log << "slot " << slot << ": " << stored.Size << " bytes written to " << out << "\n";
    return kExitOk;
}

int Verify(const std::string& file, std::ostream& out) {
    const auto input = LoadPayload(PathFromUtf8(file));
    if (!input.hasContainer) {
        out << "no StoredData: nothing to verify\n";
        return kExitOk;
    }
    const auto view = WalkPayload(input);
    int failures = 0;
    std::vector<std::uint8_t> data;
    std::vector<std::uint8_t> repacked;
    for (std::size_t slot = 0; slot < view.records.size(); ++slot) {
        const auto& record = view.records[slot];
        out << "slot " << slot << ": ";
        if (!view.compressed) {
            out << "ok (legacy record, " << record.size << " bytes unpacked)\n";
            continue;
        }
        try {
            store::UnpackRecord(record, data);
        } catch (const store::EStoreError& error) {
            out << "FAILED: " << error.what() << "\n";
            ++failures;
            continue;
        }
        repacked.resize(store::SFCalcTargetSz(data.size()));
        const std::size_t length = store::SFPack(data, repacked);
        // The packed bytes of a record start at its size field, 4 bytes before the blocks.
        const auto original = std::span<const std::uint8_t>(record.body.data() - 4, record.length);
        if (length != original.size() ||
            std::memcmp(repacked.data(), original.data(), length) != 0) {
            out << "FAILED: unpacks to its " << record.size
                << " bytes, but packing them again gives different bytes\n";
            ++failures;
            continue;
        }
        out << "ok (" << record.size << " bytes, re-packs identically)\n";
    }
    if (view.end != input.container.size()) {
        out << "FAILED: " << input.container.size() - view.end << " bytes follow the last record\n";
        ++failures;
    }
    out << (failures == 0 ? "verified\n" : "verification FAILED\n");
    return failures == 0 ? kExitOk : kExitFailed;
}

} // namespace ludrin::pack
