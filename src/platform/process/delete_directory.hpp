#pragma once
// Removes a folder with everything in it, as far as it can, and says nothing about it.

#include <string>

namespace ludrin::process {

// Depth first: every file is deleted and every sub-folder removed, then the folder itself.
// What cannot go stays without a word: read-only files (on POSIX, regular files without
// any write permission bit), files in use, files without rights, and with them every
// folder on their path. A link met inside (to a folder or a file) is removed as a link
// and never entered, and a Name that is itself a link is removed the same way, so nothing
// outside the tree is ever deleted; a trailing separator, "." or ".." in Name is resolved
// as text first ("link/sub/.." is the link), so it cannot lead the test past a link. A
// missing, empty or non-folder path does nothing; so does, on POSIX, a tree nested deeper
// than any real one (it stays whole rather than half removed).
void DeleteDirectory(const std::wstring& Name);

} // namespace ludrin::process
