#pragma once
// Decoding one entry: its local header skipped, its data copied or inflated in chunks,
// decrypted when it carries the traditional encryption, and checked against the size and
// CRC-32 of the directory.

#include "zip/zip_dir_manager.hpp"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace ludrin::zip {

class ZipStream;

// Where decoded bytes go. Answers how many of them were stored.
class ZipOutput {
public:
    virtual ~ZipOutput() = default;
    virtual std::size_t Write(std::span<const std::uint8_t> bytes) = 0;
};

// Decoded bytes kept in memory.
class MemoryZipOutput final : public ZipOutput {
public:
    std::size_t Write(std::span<const std::uint8_t> bytes) override {
        data.insert(data.end(), bytes.begin(), bytes.end());
        return bytes.size();
    }
    std::vector<std::uint8_t> data;
};

// What decoding asks of the component that runs it: progress with its cancel answer,
// passwords, and what to do when the output stores less than asked.
class ZipDecodeHooks {
public:
    virtual ~ZipDecodeHooks() = default;
    virtual void SetProgressMax(std::int64_t progressMax) = 0;
    // Reports the bytes done so far; answers whether cancellation was requested.
    virtual bool Progress(std::int64_t progress) = 0;
    virtual bool Cancelled() const = 0;
    virtual const std::string& Password() const = 0;
    virtual bool SuppressPasswordEvent() const = 0;
    // Asks for a password for the entry; answers true when the entry is to be skipped.
    virtual bool AskPassword(const std::wstring& storedName) = 0;
    // A write stored fewer bytes than asked; answers true to cancel the entry, false to
    // write the rest again. May raise.
    virtual bool DiskFull() = 0;
};

// Decoding with nobody to ask: no events, one password tried as given, prompts declined,
// a full output cancels the entry.
class SilentDecodeHooks : public ZipDecodeHooks {
public:
    explicit SilentDecodeHooks(std::string password = {}) : password_(std::move(password)) {}
    void SetProgressMax(std::int64_t) override {}
    bool Progress(std::int64_t) override { return false; }
    bool Cancelled() const override { return false; }
    const std::string& Password() const override { return password_; }
    bool SuppressPasswordEvent() const override { return false; }
    bool AskPassword(const std::wstring&) override { return true; }
    bool DiskFull() override { return true; }

private:
    std::string password_;
};

struct ZipDecodeResult {
    bool ok = false;
    bool skipped = false; // no usable password: no error, nothing to keep
};

inline constexpr std::size_t kDecodeChunkSize = 0x100000;
inline constexpr std::size_t kStoredPieceSize = 65535;

// The decoder's read and write buffers, kept by whoever decodes many entries: each grows to
// the largest size an entry so far needed (at most a chunk), so a batch allocates them once
// instead of mapping and touching a fresh megabyte for every entry.
class DecodeBuffers {
public:
    // `size` bytes to read into; new ones are cleared.
    std::span<std::uint8_t> Input(std::size_t size);
    // `size` bytes to decode into, left uninitialised: inflate writes before anything is read.
    std::span<std::uint8_t> Output(std::size_t size);

private:
    std::vector<std::uint8_t> input_;
    std::unique_ptr<std::uint8_t[]> output_;
    std::size_t outputSize_ = 0;
};

// Decodes entry `item` of the directory. Raises native 55 for Deflate64 and lets the
// stream's read error on the local header and the hooks' exceptions propagate.
ZipDecodeResult InternalDecompressFile(const TZipDirManager& dm, const TDirItem& item,
                                       ZipOutput& out, ZipDecodeHooks& hooks,
                                       DecodeBuffers& buffers);
// The same for a single entry, with buffers of its own.
ZipDecodeResult InternalDecompressFile(const TZipDirManager& dm, const TDirItem& item,
                                       ZipOutput& out, ZipDecodeHooks& hooks);

} // namespace ludrin::zip
