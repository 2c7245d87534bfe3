#pragma once
// Whether a program of a given executable name runs on this machine: the installer must
// not touch the player's files while the player runs.

#include <string>
#include <string_view>

namespace ludrin::process {

// True when a process in a snapshot taken now has the executable name exeFileName: its
// file-name part or its whole executable text equals it, ASCII letters compared without
// regard to case. Every process is looked at, even after a match. A snapshot that cannot
// be taken answers false.
bool processExists(std::wstring exeFileName);

// The comparison of one process's executable text. separators are the characters after
// the last of which the file-name part begins ("\\:" on Windows, "/" on POSIX).
bool ExecutableNameMatches(std::wstring_view executable, std::wstring_view exeFileName,
                           std::wstring_view separators);

} // namespace ludrin::process
