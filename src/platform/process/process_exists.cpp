#include "platform/process/process_exists.hpp"

#include "platform/text/ascii_case.hpp"

namespace ludrin::process {

bool ExecutableNameMatches(std::wstring_view executable, std::wstring_view exeFileName,
                           std::wstring_view separators) {
    const auto cut = executable.find_last_of(separators);
    const auto fileName = cut == std::wstring_view::npos ? executable : executable.substr(cut + 1);
    return text::EqualsAsciiNoCase(fileName, exeFileName) ||
           text::EqualsAsciiNoCase(executable, exeFileName);
}

} // namespace ludrin::process
