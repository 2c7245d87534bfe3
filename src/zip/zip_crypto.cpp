#include "zip/zip_crypto.hpp"

#include <zlib.h>

namespace ludrin::zip {
namespace {

std::uint32_t CrcStep(std::uint32_t crc, std::uint8_t byte) {
    static const z_crc_t* const table = get_crc_table();
    return table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

} // namespace

PkzipClassicKeys::PkzipClassicKeys(std::string_view password) {
    for (const char c : password) {
        Update(static_cast<std::uint8_t>(c));
    }
}

void PkzipClassicKeys::Update(std::uint8_t plain) {
    key0_ = CrcStep(key0_, plain);
    key1_ = (key1_ + (key0_ & 0xFF)) * 134775813u + 1;
    key2_ = CrcStep(key2_, static_cast<std::uint8_t>(key1_ >> 24));
}

std::uint8_t PkzipClassicKeys::Decrypt(std::uint8_t cipher) {
    const std::uint32_t temp = (key2_ | 2) & 0xFFFF;
    const auto plain = static_cast<std::uint8_t>(cipher ^ ((temp * (temp ^ 1)) >> 8));
    Update(plain);
    return plain;
}

} // namespace ludrin::zip
