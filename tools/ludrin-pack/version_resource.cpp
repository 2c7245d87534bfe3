#include "version_resource.hpp"

#include "bytes/byte_reader.hpp"

#include <stdexcept>
#include <string_view>

namespace ludrin::pack {
namespace {

constexpr std::u16string_view kRootKey = u"VS_VERSION_INFO";
constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
constexpr std::uint16_t kFixedInfoSize = 52;

[[noreturn]] void Damaged(const std::string& what) {
    throw std::runtime_error("damaged version resource: " + what);
}

} // namespace

std::string FixedFileVersion(std::span<const std::uint8_t> versionResource) {
    try {
        bytes::ByteReader block(versionResource);
        const std::uint16_t length = block.ReadU16("block length");
        if (length > versionResource.size() || length < 6) {
            Damaged("its length " + std::to_string(length) + " does not fit the resource of " +
                    std::to_string(versionResource.size()) + " bytes");
        }
        block = bytes::ByteReader(versionResource.first(length));
        block.Skip(2, "block length");
        const std::uint16_t valueLength = block.ReadU16("value length");
        block.Skip(2, "block type");
        std::u16string key;
        while (const std::uint16_t c = block.ReadU16("block key")) {
            key += static_cast<char16_t>(c);
        }
        if (key != kRootKey) {
            Damaged("the root block is not VS_VERSION_INFO");
        }
        // The value starts on the next 32-bit boundary.
        block.Skip((4 - block.Position() % 4) % 4, "key padding");
        if (valueLength < kFixedInfoSize) {
            Damaged("no fixed file information");
        }
        if (block.ReadU32("fixed information signature") != kFixedSignature) {
            Damaged("the fixed file information has no signature");
        }
        block.Skip(4, "structure version");
        const std::uint32_t high = block.ReadU32("file version (high)");
        const std::uint32_t low = block.ReadU32("file version (low)");
        return std::to_string(high >> 16) + "." + std::to_string(high & 0xFFFF) + "." +
               std::to_string(low >> 16) + "." + std::to_string(low & 0xFFFF);
    } catch (const bytes::ShortRead& error) {
        Damaged(std::string(error.Field()) + " at offset " + std::to_string(error.Offset()) +
                " lies outside the block");
    }
}

} // namespace ludrin::pack
