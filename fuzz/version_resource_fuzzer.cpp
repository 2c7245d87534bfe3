// Any bytes as an executable whose version is asked for, and as a version block itself: the
// file version is read, or the input is refused with a clear error.

#include "ludrin-pack/pe_resources.hpp"
#include "ludrin-pack/version_resource.hpp"

#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    try {
        (void)ludrin::pack::FixedFileVersion(input);
    } catch (const std::runtime_error&) {
    }
    try {
        if (const auto resource = ludrin::pack::FindVersionResource(input)) {
            (void)ludrin::pack::FixedFileVersion(*resource);
        }
    } catch (const std::runtime_error&) {
    }
    return 0;
}
