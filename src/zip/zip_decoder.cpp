#include "zip/zip_decoder.hpp"

#include "hash/crc32.hpp"
#include "zip/zip_crypto.hpp"
#include "zip/zip_directory.hpp"
#include "zip/zip_error.hpp"
#include "zip/zip_stream.hpp"

#include <zlib.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace ludrin::zip {
namespace {

// One entry's decoding state: the CRC, the counters and the output bound.
class EntryDecoder {
public:
    EntryDecoder(const TZipDirManager& dm, const TDirItem& item, ZipOutput& out,
                 ZipDecodeHooks& hooks, DecodeBuffers& buffers)
        : stream_(dm.FCompressedStream), item_(item), out_(out), hooks_(hooks), buffers_(buffers),
          expected_(item.UncompressedSize()) {}

    ZipDecodeResult Run(std::uint64_t dataStart, std::uint64_t toRead);

private:
    enum class Password { Accepted, Skipped, Failed };
    Password PrepareDecryption(std::uint64_t& position, std::uint64_t& toRead);
    bool DecodeStored(std::span<std::uint8_t> chunk, std::uint64_t bytesRead);
    bool DecodeDeflated(z_stream& inflater, std::span<std::uint8_t> chunk);
    bool Emit(std::span<const std::uint8_t> bytes);

    const ZipStream& stream_;
    const TDirItem& item_;
    ZipOutput& out_;
    ZipDecodeHooks& hooks_;
    DecodeBuffers& buffers_;
    const std::uint64_t expected_;
    std::optional<PkzipClassicKeys> keys_;
    std::uint32_t crc_ = 0;
    std::uint64_t produced_ = 0;
    bool streamEnded_ = false;
    std::span<std::uint8_t> output_;
};

struct InflateEnd {
    void operator()(z_stream* s) const { inflateEnd(s); }
};

// Sends decoded bytes on, never past the size the directory gives: a larger output is a
// failed entry, not a full disk.
bool EntryDecoder::Emit(std::span<const std::uint8_t> bytes) {
    const std::uint64_t room = expected_ - produced_;
    const bool overflow = bytes.size() > room;
    if (overflow) {
        bytes = bytes.first(static_cast<std::size_t>(room));
    }
    crc_ = hash::Crc32(crc_, bytes);
    produced_ += bytes.size();
    while (!bytes.empty()) {
        const std::size_t stored = out_.Write(bytes);
        bytes = bytes.subspan(std::min(stored, bytes.size()));
        if (stored == 0 || !bytes.empty()) {
            if (hooks_.DiskFull()) {
                return false;
            }
        }
    }
    return !overflow;
}

EntryDecoder::Password EntryDecoder::PrepareDecryption(std::uint64_t& position,
                                                       std::uint64_t& toRead) {
    constexpr std::size_t kHeaderSize = 12;
    if (toRead < kHeaderSize) {
        return Password::Failed;
    }
    toRead -= kHeaderSize;
    const TZipCentralDir& c = item_.CentralDir;
    const std::uint8_t check = (c.genPurposeFlag & kFlagDataDescriptor) != 0
                                   ? static_cast<std::uint8_t>(c.lastModTime >> 8)
                                   : static_cast<std::uint8_t>(c.crc32 >> 24);
    while (true) {
        bool accepted = false;
        if (!hooks_.Password().empty()) {
            std::uint8_t header[kHeaderSize];
            try {
                stream_.ReadAt(position, header);
            } catch (const fs::FileReadError&) {
                return Password::Failed;
            }
            keys_.emplace(hooks_.Password());
            keys_->Decrypt(header);
            accepted = header[kHeaderSize - 1] == check;
        }
        if (accepted) {
            position += kHeaderSize;
            return Password::Accepted;
        }
        // Without the event there is one attempt, and a refused one cannot decode.
        if (hooks_.SuppressPasswordEvent()) {
            return Password::Failed;
        }
        if (hooks_.AskPassword(item_.Name)) {
            return Password::Skipped;
        }
    }
}

bool EntryDecoder::DecodeStored(std::span<std::uint8_t> chunk, std::uint64_t bytesRead) {
    for (std::size_t done = 0; done < chunk.size();) {
        const auto piece = chunk.subspan(done, std::min(kStoredPieceSize, chunk.size() - done));
        done += piece.size();
        if (hooks_.Progress(static_cast<std::int64_t>(bytesRead + done))) {
            return true;
        }
        if (!Emit(piece)) {
            return false;
        }
    }
    return true;
}

bool EntryDecoder::DecodeDeflated(z_stream& inflater, std::span<std::uint8_t> chunk) {
    if (streamEnded_) {
        return false; // bytes after the end of the deflate data
    }
    inflater.next_in = chunk.data();
    inflater.avail_in = static_cast<uInt>(chunk.size());
    while (true) {
        if (hooks_.Progress(static_cast<std::int64_t>(inflater.total_out))) {
            return true;
        }
        inflater.next_out = output_.data();
        inflater.avail_out = static_cast<uInt>(output_.size());
        const int result = inflate(&inflater, Z_NO_FLUSH);
        if ((result < 0 && !(result == Z_BUF_ERROR && inflater.avail_in == 0)) ||
            result == Z_NEED_DICT) {
            return false;
        }
        const std::size_t made = output_.size() - inflater.avail_out;
        if (!Emit(output_.first(made))) {
            return false;
        }
        if (result == Z_STREAM_END) {
            streamEnded_ = true;
            return inflater.avail_in == 0;
        }
        if (inflater.avail_out != 0 && inflater.avail_in == 0) {
            return true;
        }
    }
}

ZipDecodeResult EntryDecoder::Run(std::uint64_t position, std::uint64_t toRead) {
    ZipDecodeResult result;
    const bool deflated = item_.CompressionMethod == kMethodDeflated;
    if (item_.Encrypted()) {
        const Password password = PrepareDecryption(position, toRead);
        if (password != Password::Accepted) {
            result.skipped = password == Password::Skipped;
            return result;
        }
    }

    z_stream inflater{};
    std::unique_ptr<z_stream, InflateEnd> inflaterOwner;
    if (deflated) {
        // Raw inflate: the entry ends with its compressed bytes; there is no Adler-32.
        if (inflateInit2(&inflater, -MAX_WBITS) != Z_OK) {
            return result;
        }
        inflaterOwner.reset(&inflater);
        // One byte more than the entry may produce, so that a lying size shows in one step.
        output_ = buffers_.Output(
            static_cast<std::size_t>(std::min<std::uint64_t>(kDecodeChunkSize, expected_ + 1)));
    }
    // Buffers follow the data really there, never a size the archive declares.
    const auto input =
        buffers_.Input(static_cast<std::size_t>(std::min<std::uint64_t>(kDecodeChunkSize, toRead)));
    for (std::uint64_t bytesRead = 0; bytesRead < toRead;) {
        const auto chunk = input.first(static_cast<std::size_t>(
            std::min<std::uint64_t>(kDecodeChunkSize, toRead - bytesRead)));
        try {
            stream_.ReadAt(position + bytesRead, chunk);
        } catch (const fs::FileReadError&) {
            return result;
        }
        if (keys_) {
            keys_->Decrypt(chunk);
        }
        const bool chunkOk =
            deflated ? DecodeDeflated(inflater, chunk) : DecodeStored(chunk, bytesRead);
        if (!chunkOk) {
            return result;
        }
        bytesRead += chunk.size();
        if (hooks_.Cancelled()) {
            break;
        }
    }
    if (produced_ != expected_) {
        return result;
    }
    // Always checked: this reader decodes no strong encryption, so a high extract version
    // excuses nothing.
    result.ok = crc_ == item_.CentralDir.crc32;
    return result;
}

} // namespace

std::span<std::uint8_t> DecodeBuffers::Input(std::size_t size) {
    if (input_.size() < size) {
        input_.resize(size);
    }
    return std::span<std::uint8_t>(input_).first(size);
}

std::span<std::uint8_t> DecodeBuffers::Output(std::size_t size) {
    if (outputSize_ < size) {
        output_.reset(new std::uint8_t[size]);
        outputSize_ = size;
    }
    return {output_.get(), size};
}

ZipDecodeResult InternalDecompressFile(const TZipDirManager& dm, const TDirItem& item,
                                       ZipOutput& out, ZipDecodeHooks& hooks) {
    DecodeBuffers buffers;
    return InternalDecompressFile(dm, item, out, hooks, buffers);
}

ZipDecodeResult InternalDecompressFile(const TZipDirManager& dm, const TDirItem& item,
                                       ZipOutput& out, ZipDecodeHooks& hooks,
                                       DecodeBuffers& buffers) {
    const ZipStream& stream = dm.FCompressedStream;
    const std::uint64_t headerAt = item.LocalHeaderOffset();
    const TZipFileHeader local = ReadLocalFileHeader(stream, headerAt);
    const std::uint64_t dataStart =
        headerAt + kLocalFileHeaderSize + local.nameLength + local.extraLength;

    // The data of an entry is never read past the start of the central directory.
    std::uint64_t toRead = item.CompressedSize();
    const auto dirStart =
        static_cast<std::uint64_t>(std::max<std::int64_t>(dm.CentralDirOffset, 0));
    if (dataStart >= dirStart) {
        toRead = 0;
    } else if (toRead > dirStart - dataStart) {
        toRead = dirStart - dataStart;
    }
    const std::uint64_t expected = item.UncompressedSize();
    hooks.SetProgressMax(expected == 0 ? 2 : static_cast<std::int64_t>(expected));

    switch (item.CompressionMethod) {
    case kMethodStored:
    case kMethodDeflated:
        break;
    case kMethodDeflate64:
        throw EZipException(native::kDeflate64);
    default:
        return {};
    }
    // Without its descriptor the entry's size and CRC are unknown: an empty result would
    // pass every check and stand for data that is not there.
    if (item.DescriptorMissing) {
        return {};
    }
    // AES entries are not decoded by this reader: they fail like an unknown method.
    if (item.Encrypted() && item.CentralDir.extractVersion < kStrongEncryptionVersion &&
        item.ZipEncryptionAlgorithm != TZipCryptoAlgorithm::caPkzipClassic) {
        return {};
    }
    return EntryDecoder(dm, item, out, hooks, buffers).Run(dataStart, toRead);
}

} // namespace ludrin::zip
