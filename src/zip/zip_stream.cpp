#include "zip/zip_stream.hpp"

#include <algorithm>

namespace ludrin::zip {

void FileZipStream::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
    const bool inWindow = offset >= windowStart_ && offset - windowStart_ <= window_.size() &&
                          out.size() <= window_.size() - (offset - windowStart_);
    if (!inWindow) {
        if (out.size() >= kWindowSize / 2 || offset >= file_.Size()) {
            file_.ReadAt(offset, out); // large, or past the end: the file says what it says
            return;
        }
        window_.resize(
            static_cast<std::size_t>(std::min<std::uint64_t>(kWindowSize, file_.Size() - offset)));
        try {
            file_.ReadAt(offset, window_);
        } catch (...) {
            window_.clear();
            throw;
        }
        windowStart_ = offset;
        if (out.size() > window_.size()) {
            file_.ReadAt(offset, out); // runs past the end: the read error of the file
            return;
        }
    }
    std::copy_n(window_.begin() + static_cast<std::ptrdiff_t>(offset - windowStart_), out.size(),
                out.begin());
}

void MemoryZipStream::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const {
    if (offset > bytes_.size() || out.size() > bytes_.size() - offset) {
        throw fs::FileReadError("Stream read error");
    }
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
}

} // namespace ludrin::zip
