#pragma once
// The main window's form resource (RCDATA "TFORMMAIN"), which carries the payload store.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>

namespace ludrin::win32 {

// The resource's bytes where the loader mapped them: the span stays valid while the module
// is loaded (for the running executable: the whole run), and nothing is copied. Nothing
// when the module has no such resource or it cannot be loaded.
std::optional<std::span<const std::uint8_t>> FindFormResource(HMODULE module);

} // namespace ludrin::win32
