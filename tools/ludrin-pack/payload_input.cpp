#include "payload_input.hpp"
#include "ludrin-pack/pe_resources.hpp"
#include "store/form_stream.hpp"

#include <cstring>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace ludrin::pack {
namespace {

bool IsFormStream(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 4 && std::memcmp(bytes.data(), store::kFormSignature, 4) == 0;
}

void FromForm(PayloadInput& input, std::span<const std::uint8_t> form, const std::string& where) {
    if (const auto container = store::FindStoredData(form)) {
        input.container = *container;
        input.hasContainer = true;
    }
    input.source = where;
}

} // namespace

std::filesystem::path PathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
    // Looked at before opening: a folder opens as a stream too (its end position is no
    // size to allocate), and opening a FIFO waits for a writer that may never come.
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) {
        throw std::runtime_error("cannot open " + path.string());
    }
    if (!std::filesystem::is_regular_file(status)) {
        throw std::runtime_error(path.string() + " is not a regular file");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + path.string());
    }
    in.seekg(0, std::ios::end);
    const auto size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size < 0) {
        throw std::runtime_error("cannot read " + path.string());
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()))) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return bytes;
}

PayloadInput LoadPayload(const std::filesystem::path& path) {
    PayloadInput input;
    input.file = std::make_unique<MappedFile>(path);
    const std::span<const std::uint8_t> bytes = input.file->Bytes();
    if (LooksLikePeImage(bytes)) {
        const auto form = FindRcData(bytes, u"TFORMMAIN");
        if (!form) {
            throw std::runtime_error(path.string() +
                                     ": the executable has no RCDATA resource TFORMMAIN");
        }
        if (!IsFormStream(*form)) {
            throw std::runtime_error(path.string() +
                                     ": RCDATA TFORMMAIN is not a binary form stream");
        }
        FromForm(input, *form, "RCDATA TFORMMAIN of an executable");
    } else if (IsFormStream(bytes)) {
        FromForm(input, bytes, "form stream");
    } else {
        input.container = bytes;
        input.hasContainer = true;
        input.source = "bare container";
    }
    return input;
}

} // namespace ludrin::pack
