#include "payload_walk.hpp"

#include <stdexcept>
#include <string>

namespace ludrin::pack {

store::ContainerView WalkPayload(const PayloadInput& input) {
    try {
        return store::WalkContainer(input.container);
    } catch (const store::ERecordCutShort& error) {
        throw std::runtime_error(input.source + ": " +
                                 store::RecordError(error.Slot, error.Offset, error.what()).what());
    } catch (const store::EReadError&) {
        throw std::runtime_error(input.source + ": too short for a container header (" +
                                 std::to_string(input.container.size()) + " bytes)");
    } catch (const store::EStoreError& error) {
        throw std::runtime_error(input.source + ": " + error.what());
    }
}

void RecordDamaged(const PayloadInput& input, std::size_t slot, const store::RecordView& record,
                   const store::EStoreError& error) {
    throw std::runtime_error(input.source + ": stored file " + std::to_string(slot) +
                             " at offset " + std::to_string(record.offset) + ": " + error.what());
}

} // namespace ludrin::pack
