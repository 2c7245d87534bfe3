#include "zip/zip_stream.hpp"

#include <algorithm>

namespace ludrin::zip {

void MemoryZipStream::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (offset > bytes_.size() || out.size() > bytes_.size() - offset) {
        throw fs::FileReadError("Stream read error");
    }
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
}

} // namespace ludrin::zip
