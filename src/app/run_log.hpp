#pragma once
// The log of an unattended run: UTF-8 lines appended to the administrator's file, each
// written out at once so that a process ended halfway leaves every line it got to.

#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace ludrin::app {

class RunLog {
public:
    // Nothing: a log that writes nowhere. A file that cannot be opened is the same, after
    // Opened() has said so.
    explicit RunLog(const std::optional<std::wstring>& path);

    bool Opened() const { return file_.is_open(); }
    // One line, after the local time; the line breaks inside `text` become one blank.
    void Line(std::wstring_view text);

private:
    std::ofstream file_;
};

} // namespace ludrin::app
