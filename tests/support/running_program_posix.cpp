#include "support/running_program.hpp"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

extern char** environ;

namespace ludrin::testing {

RunningProgram::RunningProgram(const std::filesystem::path& folder,
                               const std::filesystem::path& fileName) {
    const auto program = folder / fileName;
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file("/bin/sleep", program,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    std::string path = program.string();
    std::string seconds = "600";
    char* argv[] = {path.data(), seconds.data(), nullptr};
    // glibc's posix_spawn returns once the child has executed the program, so its
    // /proc entry already names it.
    pid_t pid = 0;
    const int error = posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ);
    if (error != 0) {
        throw std::runtime_error("cannot start " + path + ": " + std::strerror(error));
    }
    process_ = pid;
}

RunningProgram::~RunningProgram() {
    Stop();
}

void RunningProgram::Stop() {
    if (process_ > 0) {
        const auto pid = static_cast<pid_t>(process_);
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        process_ = 0;
    }
}

ProcessNameLock::ProcessNameLock() {
    const auto lockFile = std::filesystem::temp_directory_path() / "ludrin-process-names.lock";
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    lock_ = fd + 1; // 0 means none
    if (fd < 0 || ::flock(fd, LOCK_EX) != 0) {
        throw std::runtime_error("cannot lock " + lockFile.string());
    }
}

ProcessNameLock::~ProcessNameLock() {
    if (lock_ > 0) {
        ::close(static_cast<int>(lock_ - 1)); // releases the lock
    }
}

} // namespace ludrin::testing
