#pragma once
// The installer's switches for unattended use: which operations to run, whether to show
// anything, and where to log. Pure, so that every spelling is tested without a window.

#include "app/form_main.hpp"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ludrin::app {

struct CommandLine {
    // In the order given; each runs as its button does.
    std::vector<FormButton> operations;
    bool quiet = false;
    std::optional<std::wstring> logFile;
    // Set for /? and for anything not understood: the usage is shown and nothing runs.
    bool usage = false;
    // The argument that was not understood; empty for /?.
    std::wstring unknown;

    // Without any switch the installer is the interactive window, unchanged.
    bool Unattended() const { return !operations.empty() || quiet || logFile || usage; }
};

// `arguments` without the program's own name. Switches start with / or -, in any case;
// /log=FILE takes the rest of its argument (surrounding quotes dropped).
CommandLine ParseCommandLine(std::span<const std::wstring> arguments);

// The arguments joined back into one line for the log, quoted where they hold a blank.
std::wstring JoinArguments(std::span<const std::wstring> arguments);

extern const wchar_t* const kUsageText;
inline constexpr const wchar_t* kUsageCaption = L" Installazione Ludrin.";

} // namespace ludrin::app
