#include "platform/launch/shell_launch.hpp"

#include <utility>

namespace ludrin::launch {

LaunchedProcess::~LaunchedProcess() {
    Release();
}

LaunchedProcess::LaunchedProcess(LaunchedProcess&& other) noexcept
    : process_(std::exchange(other.process_, 0)), owner_(other.owner_) {}

LaunchedProcess& LaunchedProcess::operator=(LaunchedProcess&& other) noexcept {
    if (this != &other) {
        Release();
        process_ = std::exchange(other.process_, 0);
        owner_ = other.owner_;
    }
    return *this;
}

} // namespace ludrin::launch
