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

// Unpacks a record block by block and packs each block's bytes again as one chunk: the
// packer cuts a file into full chunks and packs each alone, so the whole record re-packs
// identically exactly when every block does and every block but the last is a full chunk.
// Memory is one chunk, whatever the file's size. Answers what is wrong, or nothing.
std::string RepackFailure(const store::RecordView& record, const MappedFile& file) {
    std::vector<std::uint8_t> chunk;
    std::vector<std::uint8_t> repacked(store::SFCalcTargetSz(store::kChunkSize));
    std::size_t at = 0; // the next block's length field in record.body
    std::size_t current = 0;
    std::size_t released = 0;
    std::uint64_t produced = 0;
    bool same = true;
    // Compares the chunk gathered so far, packed again, with the block at `at`.
    const auto compareChunk = [&] {
        const std::size_t length = store::SFPack(chunk, repacked) - 4; // without the size field
        const auto rest = record.body.subspan(at);
        same = same && length <= rest.size() &&
               std::memcmp(repacked.data() + 4, rest.data(), length) == 0;
        at += length;
        chunk.clear();
        // Blocks compared are not read again: memory stays a stretch, not the file.
        if (at - released >= store::kContainerStretch && at <= record.body.size()) {
            file.Done(record.body.subspan(released, at - released));
            released = at;
        }
    };
    try {
        // Straight into the blocks: counting them first would read the whole record at once.
        produced = store::SFUnpackPieces(
            record.body, record.size, [&](std::size_t block, std::span<const std::uint8_t> bytes) {
                if (block != current) {
                    same = same && block == current + 1 && chunk.size() == store::kChunkSize;
                    if (same) {
                        compareChunk();
                    }
                    current = block;
                }
                if (!same || bytes.size() > store::kChunkSize - chunk.size()) {
                    same = false; // nothing more to compare, but the blocks are still checked
                    chunk.clear();
                    return;
                }
                chunk.insert(chunk.end(), bytes.begin(), bytes.end());
            });
    } catch (const store::EStoreError& error) {
        return error.what();
    }
    if (produced != record.size) {
        return "the packed blocks unpack to " + std::to_string(produced) +
               " bytes instead of the file's size of " + std::to_string(record.size);
    }
    if (same && (!chunk.empty() || at < record.body.size())) {
        compareChunk();
    }
    if (!same || at != record.body.size()) {
        return "unpacks to its " + std::to_string(record.size) +
               " bytes, but packing them again gives different bytes";
    }
    return {};
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
                // Stretch by stretch, each let go once counted: memory stays a stretch.
                store::ForEachStretch(record.body, store::kContainerStretch,
                                      [&](std::span<const std::uint8_t> stretch) {
                                          const auto counts = store::CountBlocks(stretch);
                                          blocks.escape += counts.escape;
                                          blocks.positionTable += counts.positionTable;
                                          input.file->Done(stretch);
                                      });
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
    if (view.compressed) {
        // Checked in full before the output is created, without room for the file: a
        // forged size costs nothing, and a damaged record leaves no file behind.
        try {
            store::CheckRecord(
                record, [&](std::span<const std::uint8_t> stretch) { input.file->Done(stretch); });
        } catch (const store::EStoreError& error) {
            RecordDamaged(input, slot, record, error);
        }
    }
    store::TstFileStorage owner;
    owner.OnContainerRead = [&](std::span<const std::uint8_t> stretch) {
        input.file->Done(stretch);
    };
    store::TStoredFile stored(&owner);
    stored.InContainer = store::TStoredFile::ContainerBytes{record.body, view.compressed};
    stored.Size = record.size;
    // The file unpacks piece by piece into its output.
    if (!stored.Extract(WidePath(PathFromUtf8(out)), true)) {
        throw std::runtime_error("cannot write " + out);
    }
    input.file->Done(record.body);
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
    for (std::size_t slot = 0; slot < view.records.size(); ++slot) {
        const auto& record = view.records[slot];
        out << "slot " << slot << ": ";
        if (!view.compressed) {
            out << "ok (legacy record, " << record.size << " bytes unpacked)\n";
            continue;
        }
        const std::string failure = RepackFailure(record, *input.file);
        input.file->Done(record.body);
        if (!failure.empty()) {
            out << "FAILED: " << failure << "\n";
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
