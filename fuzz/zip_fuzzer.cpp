// Any bytes as a ZIP archive: the directory loads or fails with an archive or read error,
// and every entry decodes into memory or fails, never writing more than it declares.

#include "bytes/byte_reader.hpp"
#include "zip/zip_decoder.hpp"
#include "zip/zip_directory.hpp"
#include "zip/zip_error.hpp"
#include "zip/zip_stream.hpp"

#include <cstdlib>

namespace {

using namespace ludrin::zip;

class BoundedOutput final : public ZipOutput {
public:
    std::size_t Write(std::span<const std::uint8_t> bytes) override {
        written += bytes.size();
        return bytes.size();
    }
    std::uint64_t written = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const MemoryZipStream stream(std::span<const std::uint8_t>(data, size));
    for (const bool strict : {false, true}) {
        TZipDirManager dm(stream);
        try {
            LoadDir(dm, {true, !strict});
        } catch (const EZipException&) {
            continue;
        } catch (const ludrin::fs::FileReadError&) {
            continue;
        }
        for (std::size_t i = 0; i < dm.CDir.Count(); ++i) {
            BoundedOutput out;
            SilentDecodeHooks hooks("secret");
            try {
                InternalDecompressFile(dm, dm.CDir[i], out, hooks);
            } catch (const EZipException&) {
            } catch (const ludrin::fs::FileReadError&) {
            }
            if (out.written > dm.CDir[i].UncompressedSize()) {
                std::abort();
            }
            dm.CDir.FileExists(dm.CDir[i].Name);
        }
    }
    return 0;
}
