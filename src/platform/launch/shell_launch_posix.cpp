// A plain spawn: POSIX has no verbs or elevation. The program is started from its folder
// with the parameters split at blanks.

#include "platform/launch/shell_launch.hpp"
#include "platform/text/utf.hpp"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <utility>
#include <vector>

extern char** environ;

namespace ludrin::launch {
namespace {

std::vector<std::string> SplitAtBlanks(const std::string& text) {
    std::vector<std::string> items;
    std::string item;
    for (const char c : text) {
        if (c == ' ' || c == '\t') {
            if (!item.empty()) {
                items.push_back(std::move(item));
                item.clear();
            }
        } else {
            item.push_back(c);
        }
    }
    if (!item.empty()) {
        items.push_back(std::move(item));
    }
    return items;
}

} // namespace

void LaunchedProcess::Release() {
    if (process_ != 0) {
        // Reap it so that no zombie stays behind; it was started by us alone.
        int status = 0;
        waitpid(static_cast<pid_t>(process_), &status, 0);
        process_ = 0;
    }
}

std::optional<std::uint32_t> LaunchedProcess::Wait() {
    if (process_ == 0) {
        return std::nullopt;
    }
    int status = 0;
    const pid_t pid = static_cast<pid_t>(std::exchange(process_, 0));
    if (waitpid(pid, &status, 0) != pid) {
        return std::nullopt;
    }
    if (WIFEXITED(status)) {
        return static_cast<std::uint32_t>(WEXITSTATUS(status));
    }
    return 128u + static_cast<std::uint32_t>(WTERMSIG(status)); // killed: never a success
}

LaunchedProcess ShellLaunch(const ShellLaunchRequest& request) {
    const auto folder = text::WideToUtf8(request.folder);
    const auto path = folder + "/" + text::WideToUtf8(request.file);
    // A program written out a moment ago carries no execute bit; opening it through the
    // shell means running it.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return {};
    }
    chmod(path.c_str(), info.st_mode | S_IXUSR);

    auto arguments = SplitAtBlanks(text::WideToUtf8(request.parameters));
    arguments.insert(arguments.begin(), path);
    std::vector<char*> argv;
    for (auto& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = 0;
    const int error = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        return {};
    }
    return LaunchedProcess(static_cast<std::intptr_t>(pid), request.owner);
}

} // namespace ludrin::launch
