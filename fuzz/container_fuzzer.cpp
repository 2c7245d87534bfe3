// Any bytes as a container: the store reads it or throws, and a store that was read writes
// a container that reads back to the same files.

#include "store/file_storage.hpp"
#include "store/store_error.hpp"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ludrin::store;
    TstFileStorage store;
    try {
        store.ReadData(std::span<const std::uint8_t>(data, size));
    } catch (const EStoreError&) {
        return 0;
    }
    std::vector<std::uint8_t> written;
    store.WriteData(written);
    TstFileStorage again;
    again.ReadData(written);
    if (again.Count() != store.Count()) {
        std::abort();
    }
    for (std::size_t i = 0; i < store.Files.size(); ++i) {
        if (again.Files[i]->Bytes() != store.Files[i]->Bytes() ||
            again.Files[i]->Size != store.Files[i]->Size) {
            std::abort();
        }
    }
    return 0;
}
