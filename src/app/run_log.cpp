#include "app/run_log.hpp"

#include "platform/text/utf.hpp"

#include <ctime>
#include <filesystem>

namespace ludrin::app {

RunLog::RunLog(const std::optional<std::wstring>& path) {
    if (path) {
        file_.open(std::filesystem::path(*path), std::ios::binary | std::ios::app);
    }
}

void RunLog::Line(std::wstring_view text) {
    if (!file_.is_open()) {
        return;
    }
    std::wstring flat;
    for (const wchar_t c : text) {
        const bool lineBreak = c == L'\r' || c == L'\n';
        if (!lineBreak) {
            flat += c;
        } else if (!flat.empty() && flat.back() != L' ') {
            flat += L' ';
        }
    }
    char stamp[32] = "";
    const std::time_t now = std::time(nullptr);
    if (const std::tm* local = std::localtime(&now)) {
        std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S ", local);
    }
    file_ << stamp << text::WideToUtf8(flat) << "\r\n";
    file_.flush();
}

} // namespace ludrin::app
