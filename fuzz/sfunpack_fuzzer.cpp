// Any bytes as a block sequence: SFUnpack must answer or throw, never touch memory outside
// its buffers. The same bytes as packer input must come back unchanged.

#include "store/block_packer.hpp"
#include "store/store_error.hpp"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ludrin::store;
    if (size < 2) {
        return 0;
    }
    // The first two bytes choose the room of the destination, up to 64 KiB.
    const std::size_t room = static_cast<std::size_t>(data[0] | (data[1] << 8));
    const std::span<const std::uint8_t> blocks(data + 2, size - 2);
    auto destination = std::make_unique<std::uint8_t[]>(room);
    try {
        const std::size_t produced = SFUnpack(blocks, {destination.get(), room});
        if (produced > room) {
            std::abort();
        }
    } catch (const EStoreError&) {
    }

    std::vector<std::uint8_t> packed(SFCalcTargetSz(blocks.size()));
    packed.resize(SFPack(blocks, packed));
    std::vector<std::uint8_t> unpacked(blocks.size());
    const std::size_t produced =
        SFUnpack(std::span<const std::uint8_t>(packed).subspan(4), unpacked);
    if (produced != blocks.size() ||
        (produced != 0 && std::memcmp(unpacked.data(), blocks.data(), produced) != 0)) {
        std::abort();
    }
    return 0;
}
