#pragma once
// The main window's form resource (RCDATA "TFORMMAIN"), which carries the payload store.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>

namespace ludrin::win32 {

// The one language the form resource is read in, as the build embeds it (payload.rc.in):
// Windows would otherwise choose among several by the user's language settings, and run a
// payload other than the one that ludrin-pack describes.
inline constexpr WORD kFormLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// The resource's bytes where the loader mapped them: the span stays valid while the module
// is loaded (for the running executable: the whole run), and nothing is copied. Nothing
// when the module has no such resource in kFormLanguage or it cannot be loaded.
std::optional<std::span<const std::uint8_t>> FindFormResource(HMODULE module);

} // namespace ludrin::win32
