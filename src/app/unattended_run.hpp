#pragma once
// An unattended run: the operations of the command line through the same handlers as
// their buttons, their messages turned into an exit code and, with a log, written down
// with the archive's events.

#include "app/form_main.hpp"
#include "app/run_log.hpp"

#include <optional>
#include <span>
#include <string_view>

namespace ludrin::app {

// The exit codes administrators' scripts rely on: never renumber them.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitDamagedInstaller = 2;
inline constexpr int kExitUsage = 3;
inline constexpr int kExitPlayerRunning = 4;
inline constexpr int kExitNothingToUninstall = 5;
inline constexpr int kExitFilesLeft = 6;

// The exit code an operation's closing message stands for; nothing for a question.
std::optional<int> ExitCodeOfMessage(std::wstring_view text);

class UnattendedRun {
public:
    UnattendedRun(bool quiet, RunLog& log) : quiet_(quiet), log_(log) {}

    // The answer of a run without a user interface: Yes to the uninstallation's
    // confirmation (the command line gave it), No to any other question, else OK.
    int QuietAnswer(std::wstring_view text, unsigned flags) const;
    // Every message an operation showed (or, quietly, would have shown) and its answer.
    void Shown(std::wstring_view text, int answer);

    // Writes the archive's entries, their outcome and every error into the log. In a
    // quiet run its questions get Abort, No and Cancel; otherwise they are asked as usual.
    void Watch(zip::TZipBaseArchiver& archiver);

    // Watches the form's archive, runs the operations in order and stops at the first that does not
    // succeed; the exit code is that of the last one run.
    int Run(TFormMain& form, std::span<const FormButton> operations);

private:
    bool quiet_;
    RunLog& log_;
    // Of the operation running: failed until its closing message says otherwise, so that
    // a declined confirmation is no success.
    int outcome_ = kExitFailed;
};

} // namespace ludrin::app
