#pragma once
// The file-mask test of entry selection: '*' and '?' wildcards, ASCII letters compared
// without case, and the "*.*" and trailing-dot rules of DOS masks.

#include <string_view>

namespace ludrin::zip {

// Compares a name with a wildcard pattern ('*' any run, '?' any one character), ignoring
// the case of ASCII letters. "*.*" and "*" match anything, '/' included.
bool IsStrMatchPattern(std::wstring_view name, std::wstring_view pattern);

// The mask test: empty masks match nothing, the first "*.*" means "*", and a mask ending
// in '.' selects only names without an extension ("name." selects "name", not "name.txt").
bool IsInternalFileMatchMask(std::wstring_view name, std::wstring_view mask);

} // namespace ludrin::zip
