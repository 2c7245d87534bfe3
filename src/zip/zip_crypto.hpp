#pragma once
// Traditional PKWARE decryption: three keys stepped with the ZIP CRC-32 table, one lookup
// per byte.

#include <cstdint>
#include <span>
#include <string_view>

namespace ludrin::zip {

class PkzipClassicKeys {
public:
    explicit PkzipClassicKeys(std::string_view password);
    std::uint8_t Decrypt(std::uint8_t cipher);
    void Decrypt(std::span<std::uint8_t> bytes) {
        for (std::uint8_t& b : bytes) {
            b = Decrypt(b);
        }
    }

private:
    void Update(std::uint8_t plain);
    std::uint32_t key0_ = 0x12345678;
    std::uint32_t key1_ = 0x23456789;
    std::uint32_t key2_ = 0x34567890;
};

} // namespace ludrin::zip
