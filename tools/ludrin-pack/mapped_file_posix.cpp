#include "mapped_file.hpp"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

namespace ludrin::pack {

MappedFile::MappedFile(const std::filesystem::path& path) {
    // Non-blocking, so that a FIFO is refused below instead of waiting for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        throw std::runtime_error("cannot open " + path.string());
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw std::runtime_error(path.string() + " is not a regular file");
    }
    size_ = static_cast<std::size_t>(info.st_size);
    if (size_ > 0) {
        void* view = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
        if (view == MAP_FAILED) {
            ::close(fd);
            throw std::runtime_error("cannot map " + path.string());
        }
        data_ = static_cast<const std::uint8_t*>(view);
        // Commands read headers scattered through the file: no read-ahead around them.
        ::madvise(view, size_, MADV_RANDOM);
    }
    ::close(fd);
}

MappedFile::~MappedFile() {
    if (data_ != nullptr) {
        ::munmap(const_cast<std::uint8_t*>(data_), size_);
    }
}

void MappedFile::Done(std::span<const std::uint8_t> stretch) const {
    // Whole pages inside the stretch only; they fault in again from the file if read.
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<std::uintptr_t>(stretch.data());
    const auto first = (begin + page - 1) / page * page;
    const auto last = (begin + stretch.size()) / page * page;
    if (last > first) {
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
    }
}

} // namespace ludrin::pack
