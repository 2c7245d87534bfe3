#pragma once
// Archives for the reader's tests: held in exact-size heap buffers, so that ASan sees any
// read past their end, or written to real files and opened as the installer opens them.

#include "platform/text/utf.hpp"
#include "support/temp_dir.hpp"
#include "support/zip_writer.hpp"
#include "zip/zip_decoder.hpp"
#include "zip/zip_directory.hpp"
#include "zip/zip_reader.hpp"
#include "zip/zip_stream.hpp"

#include <memory>
#include <string>
#include <vector>

namespace ludrin::zip::test {

// A directory loaded from bytes in memory.
struct LoadedArchive {
    explicit LoadedArchive(const std::string& archive)
        : bytes(archive.begin(), archive.end()), stream(bytes), dm(stream) {}
    std::vector<std::uint8_t> bytes;
    MemoryZipStream stream;
    TZipDirManager dm;
};

inline std::unique_ptr<LoadedArchive> Load(const std::string& archive,
                                           const DirectoryReadOptions& options = {}) {
    auto loaded = std::make_unique<LoadedArchive>(archive);
    LoadDir(loaded->dm, options);
    return loaded;
}

// Hooks with no component behind them: no events, no password, a full disk raises.
class PlainHooks : public ZipDecodeHooks {
public:
    void SetProgressMax(std::int64_t max) override { progressMax = max; }
    bool Progress(std::int64_t progress) override {
        reported.push_back(progress);
        if (cancelAt >= 0 && static_cast<std::int64_t>(reported.size()) > cancelAt) {
            cancelled = true;
        }
        return cancelled;
    }
    bool Cancelled() const override { return cancelled; }
    const std::string& Password() const override { return password; }
    bool SuppressPasswordEvent() const override { return false; }
    bool AskPassword(const std::wstring&) override {
        ++asked;
        if (asked <= static_cast<int>(answers.size())) {
            password = answers[static_cast<std::size_t>(asked - 1)];
            return false;
        }
        return true;
    }
    bool DiskFull() override { throw std::runtime_error("disk full"); }

    std::int64_t progressMax = 0;
    std::vector<std::int64_t> reported;
    std::int64_t cancelAt = -1;
    bool cancelled = false;
    std::string password;
    std::vector<std::string> answers;
    int asked = 0;
};

struct Decoded {
    ZipDecodeResult result;
    std::string data;
};

inline Decoded Decode(const LoadedArchive& archive, std::size_t index, PlainHooks& hooks) {
    MemoryZipOutput out;
    const ZipDecodeResult result =
        InternalDecompressFile(archive.dm, archive.dm.CDir[index], out, hooks);
    return {result, std::string(out.data.begin(), out.data.end())};
}

inline Decoded Decode(const LoadedArchive& archive, std::size_t index) {
    PlainHooks hooks;
    return Decode(archive, index, hooks);
}

inline std::string Utf8(const std::wstring& text) {
    return ludrin::text::WideToUtf8(text);
}

} // namespace ludrin::zip::test
