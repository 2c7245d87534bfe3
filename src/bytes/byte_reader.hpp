#pragma once
// A bounded cursor over bytes held in memory: every field read is checked against the end,
// so no reader built on it can step outside its input. Each read names the field it reads,
// so that a short read says what was cut short and where.

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace ludrin::bytes {

// A read that needs more bytes than the input holds.
class ShortRead : public std::runtime_error {
public:
    ShortRead(const char* field, std::uint64_t offset, std::uint64_t wanted, std::size_t size)
        : std::runtime_error(std::string(field) + " at offset " + std::to_string(offset) +
                             " needs " + std::to_string(wanted) + " bytes but the input ends at " +
                             std::to_string(size)),
          field_(field), offset_(offset) {}

    const char* Field() const { return field_; }
    std::uint64_t Offset() const { return offset_; }

private:
    const char* field_;
    std::uint64_t offset_;
};

class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Position() const { return position_; }
    std::size_t Size() const { return bytes_.size(); }
    std::size_t Remaining() const { return bytes_.size() - position_; }
    bool AtEnd() const { return position_ == bytes_.size(); }
    std::span<const std::uint8_t> Bytes() const { return bytes_; }

    // True when `length` bytes lie inside the input from `offset` on.
    bool Fits(std::uint64_t offset, std::uint64_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }

    void Seek(std::uint64_t offset, const char* field) {
        Need(offset, 0, field);
        position_ = static_cast<std::size_t>(offset);
    }

    // Cursor reads.
    std::uint8_t Peek(const char* field) const { return At(position_, 1, field)[0]; }
    std::span<const std::uint8_t> Take(std::uint64_t count, const char* field) {
        const auto taken = At(position_, count, field);
        position_ += taken.size();
        return taken;
    }
    void Skip(std::uint64_t count, const char* field) { Take(count, field); }
    std::uint8_t ReadU8(const char* field) { return Take(1, field)[0]; }
    std::uint16_t ReadU16(const char* field) { return LittleEndian<std::uint16_t>(Take(2, field)); }
    std::uint32_t ReadU32(const char* field) { return LittleEndian<std::uint32_t>(Take(4, field)); }
    std::uint64_t ReadU64(const char* field) { return LittleEndian<std::uint64_t>(Take(8, field)); }

    // Reads at an offset; the cursor stays where it is.
    std::span<const std::uint8_t> At(std::uint64_t offset, std::uint64_t count,
                                     const char* field) const {
        Need(offset, count, field);
        return bytes_.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(count));
    }
    std::uint8_t U8At(std::uint64_t offset, const char* field) const {
        return At(offset, 1, field)[0];
    }
    std::uint16_t U16At(std::uint64_t offset, const char* field) const {
        return LittleEndian<std::uint16_t>(At(offset, 2, field));
    }
    std::uint32_t U32At(std::uint64_t offset, const char* field) const {
        return LittleEndian<std::uint32_t>(At(offset, 4, field));
    }
    std::uint64_t U64At(std::uint64_t offset, const char* field) const {
        return LittleEndian<std::uint64_t>(At(offset, 8, field));
    }
    // A reader over part of the input, sharing its bytes.
    ByteReader Sub(std::uint64_t offset, std::uint64_t count, const char* field) const {
        return ByteReader(At(offset, count, field));
    }

    template <typename T> static T LittleEndian(std::span<const std::uint8_t> b) {
        T value = 0;
        for (std::size_t i = b.size(); i > 0; --i) {
            value = static_cast<T>((value << 8) | b[i - 1]);
        }
        return value;
    }

private:
    void Need(std::uint64_t offset, std::uint64_t count, const char* field) const {
        if (!Fits(offset, count)) {
            throw ShortRead(field, offset, count, bytes_.size());
        }
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

} // namespace ludrin::bytes
