#pragma once
// Comma-text splitting with the classic rules the version helpers rely on.

#include <string>
#include <string_view>
#include <vector>

namespace ludrin::text {

// Items separated by commas and by blanks; double quotes group, "" inside quotes is a
// quote; a trailing comma gives a last empty item.
std::vector<std::wstring> SplitCommaText(std::wstring_view text);

} // namespace ludrin::text
