#include "app/form_main.hpp"
#include "app/operation_messages.hpp"
#include "app/run_folder.hpp"
#include "platform/fs/fs.hpp"
#include "platform/fs/held_file.hpp"
#include "platform/launch/shell_launch.hpp"
#include "platform/process/process_exists.hpp"

#include <array>
#include <vector>

namespace ludrin::app {
namespace {

struct CodecInstaller {
    std::size_t slot;
    const wchar_t* parameters;
    int progressAfterExtraction;
};

// Slot order is launch order.
constexpr std::array<CodecInstaller, 3> kCodecInstallers{{
    {kSlotLavFilters, L"/VERYSILENT /SUPPRESSMSGBOXES /NORESTART /SP-", 30},
    {kSlotFfdshow, L"/SP- /VERYSILENT /NORESTART", 60},
    {kSlotAviSynth, L"/S", 90},
}};

constexpr int kHidden = 0;

} // namespace

void TFormMain::btnInstallaCompleteClick() {
    HideHelpBalloons();
    const auto layout = Layout();
    // Without these roots there is no player to look for and no safe place to write to.
    if (UserMyDocuments.empty() || UserTempDir.empty()) {
        ShowOperationMessage(view_, kAdvancedFailed);
        return;
    }
    if (!fs::FileExists(layout.PlayerProgram())) {
        ShowOperationMessage(view_, kAdvancedNotInstalled);
        return;
    }
    if (process::processExists(kPlayerProcessName)) {
        ShowOperationMessage(view_, kAdvancedPlayerRunning);
        return;
    }

    // The installers run with administrative rights: they are always written afresh into a
    // folder of this run, never taken from whatever lies in the temporary folder.
    std::optional<RunFolder> folder;
    bool installed = false;
    try {
        view_.SetProgress(0);
        folder = RunFolder::Create(UserTempDir);
        // Each installer is held from the moment it is written until the last one has
        // ended, and checked through the hold against the store: nothing can swap it for
        // another program before it is started with administrative rights. The holds go
        // before the run's folder does.
        std::vector<fs::HeldFile> held;
        bool written = folder.has_value();
        for (const auto& installer : kCodecInstallers) {
            if (!written) {
                break;
            }
            const auto slot = static_cast<std::int32_t>(installer.slot);
            const std::wstring path = folder->FilePath(kPayloadSlots[installer.slot].fileName);
            written = stFileStorage.Extract(slot, path);
            if (written) {
                const auto& stored = *stFileStorage.Files[installer.slot];
                auto hold =
                    fs::HeldFile::HoldWith(path, [&stored](const fs::HeldFile::PieceSink& sink) {
                        stored.ReadPieces(sink);
                    });
                written = hold.has_value();
                if (hold) {
                    held.push_back(std::move(*hold));
                }
            }
            if (written) {
                view_.SetProgress(installer.progressAfterExtraction);
            }
        }

        // One after the other, each awaited: their outcome decides the message.
        installed = written;
        for (const auto& installer : kCodecInstallers) {
            if (!installed) {
                break;
            }
            auto process = launch::ShellLaunch({view_.NativeWindow(), L"runas",
                                                kPayloadSlots[installer.slot].fileName,
                                                installer.parameters, folder->Path(), kHidden});
            installed = process.Started() && process.Wait() == 0u;
        }
        if (installed) {
            view_.SetProgress(100);
        }
    } catch (...) {
        // Whatever went wrong, the user learns that it did.
        installed = false;
    }
    ShowOperationMessage(view_, installed ? kAdvancedDone : kAdvancedFailed);
}

} // namespace ludrin::app
