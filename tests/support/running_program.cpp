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

RunningProgram::RunningProgram(const std::filesystem::path& folder, const std::string& fileName) {
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
    const int error = posix_spawn(&pid_, path.c_str(), nullptr, nullptr, argv, environ);
    if (error != 0) {
        pid_ = -1;
        throw std::runtime_error("cannot start " + path + ": " + std::strerror(error));
    }
}

RunningProgram::~RunningProgram() {
    Stop();
}

void RunningProgram::Stop() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
    }
}

ProcessNameLock::ProcessNameLock() {
    const auto lockFile = std::filesystem::temp_directory_path() / "ludrin-process-names.lock";
    fd_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0 || ::flock(fd_, LOCK_EX) != 0) {
        throw std::runtime_error("cannot lock " + lockFile.string());
    }
}

ProcessNameLock::~ProcessNameLock() {
    if (fd_ >= 0) {
        ::close(fd_); // releases the lock
    }
}

} // namespace ludrin::testing
