#pragma once
// A file being written by extraction: created, written in pieces, given its time, flushed
// when it has to reach the device, closed.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace ludrin::fs {

// A file created (or truncated) for writing, others may read it meanwhile; closed by
// Close() or when destroyed.
class OutputFile {
public:
    static std::optional<OutputFile> Create(const std::wstring& path);
    OutputFile(OutputFile&& other) noexcept;
    OutputFile& operator=(OutputFile&& other) noexcept;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    // Answers how many bytes were stored (fewer than asked on a full disk or an error).
    std::size_t Write(std::span<const std::uint8_t> bytes);
    // Sets the last-write time from a DOS date and time taken as local time; creation and
    // last-access times stay.
    bool SetLastWriteDosDateTime(std::uint16_t date, std::uint16_t time);
    // Writes the file's buffers through to the device.
    bool Flush();
    bool Close();
    bool IsOpen() const { return handle_ != kClosed; }

private:
    friend class PartFile; // opens its part files its own way
    static constexpr std::intptr_t kClosed = -1;
    explicit OutputFile(std::intptr_t handle) : handle_(handle) {}
    std::intptr_t handle_;
};

} // namespace ludrin::fs
