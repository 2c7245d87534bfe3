#include "app/payload_check.hpp"

#include "app/installation_layout.hpp"
#include "store/form_stream.hpp"

namespace ludrin::app {

std::optional<std::wstring> MissingPayload(std::span<const std::uint8_t> formResource,
                                           const store::TstFileStorage& store) {
    if (formResource.empty()) {
        return L"the form resource TFORMMAIN is empty";
    }
    if (!store::FindStoredData(formResource)) {
        return L"the form resource TFORMMAIN holds no StoredData";
    }
    if (store.Count() < kPayloadSlotCount) {
        return L"the store holds " + std::to_wstring(store.Count()) + L" files instead of " +
               std::to_wstring(kPayloadSlotCount);
    }
    return std::nullopt;
}

} // namespace ludrin::app
