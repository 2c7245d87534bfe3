#include "zip/zip_dir_manager.hpp"

#include "zip/zip_error.hpp"

namespace ludrin::zip {

void TZipDirArray::Clear() {
    FItems.clear();
    FItems.shrink_to_fit();
    FItemNamesList.Clear();
}

void TZipDirArray::Reserve(std::size_t count) {
    FItems.reserve(count);
    FItemNamesList.Reserve(count);
}

void TZipDirArray::Add(TDirItem item) {
    FItemNamesList.Add(item.Name);
    FItems.push_back(std::move(item));
}

void TZipDirArray::SetItemName(std::size_t index, std::wstring name) {
    if (index >= FItems.size() || !FItemNamesList.Replace(index, name)) {
        throw EZipException(native::kHashedListInvalid);
    }
    FItems[index].Name = std::move(name);
}

} // namespace ludrin::zip
