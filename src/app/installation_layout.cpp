#include "app/installation_layout.hpp"

#include <stdexcept>

namespace ludrin::app {

InstallationLayout::InstallationLayout(FolderRoots roots, wchar_t separator)
    : roots_(std::move(roots)), separator_(separator) {}

std::wstring InstallationLayout::Compose(const std::wstring& root, const wchar_t* suffix) const {
    if (root.empty()) {
        return {};
    }
    std::wstring path = root + suffix;
    for (auto i = root.size(); i < path.size(); ++i) {
        if (path[i] == L'\\') {
            path[i] = separator_;
        }
    }
    return path;
}

std::wstring InstallationLayout::SharedLibraryFolder() const {
    return Compose(roots_.AppData, L"\\brvdll");
}

std::wstring InstallationLayout::SettingsFile() const {
    return Compose(roots_.AppData, L"\\brvdll\\regset\\SettaggiLUD.ini");
}

std::wstring InstallationLayout::SiblingModule() const {
    return Compose(roots_.AppData, L"\\brvdll\\Tarnwell.dll");
}

std::wstring InstallationLayout::PlayerFolder() const {
    return Compose(roots_.MyDocuments, L"\\Ludrin");
}

std::wstring InstallationLayout::StartProgram() const {
    return SlotDestination(kSlotStartProgram);
}

std::wstring InstallationLayout::PlayerProgram() const {
    return SlotDestination(kSlotPlayer);
}

std::wstring InstallationLayout::DesktopShortcut() const {
    return Compose(roots_.DesktopDirectory, L"\\Ludrin 4.lnk");
}

std::wstring InstallationLayout::SlotDestination(std::size_t slot) const {
    if (slot >= kPayloadSlots.size()) {
        throw std::out_of_range("payload slot " + std::to_string(slot) + " does not exist");
    }
    const auto& entry = kPayloadSlots[slot];
    if (entry.root != SlotRoot::PlayerFolder) {
        throw std::out_of_range("payload slot " + std::to_string(slot) +
                                " is written into a run's folder only");
    }
    const auto folder = PlayerFolder();
    return folder.empty() ? folder : folder + separator_ + entry.fileName;
}

} // namespace ludrin::app
