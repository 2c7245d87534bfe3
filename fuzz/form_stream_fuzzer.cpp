// Any bytes as a binary form stream: found, not found or a clear error, nothing else.

#include "store/form_stream.hpp"
#include "store/store_error.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ludrin::store;
    TstFileStorage store;
    try {
        ReadFormStream(std::span<const std::uint8_t>(data, size), store);
    } catch (const EStoreError&) {
    }
    return 0;
}
