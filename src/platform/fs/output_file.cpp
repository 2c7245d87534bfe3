// What an output file does the same on every platform: ownership of its handle.

#include "platform/fs/output_file.hpp"

#include <utility>

namespace ludrin::fs {

OutputFile::OutputFile(OutputFile&& other) noexcept
    : handle_(std::exchange(other.handle_, kClosed)) {}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = std::exchange(other.handle_, kClosed);
    }
    return *this;
}

OutputFile::~OutputFile() {
    Close();
}

} // namespace ludrin::fs
