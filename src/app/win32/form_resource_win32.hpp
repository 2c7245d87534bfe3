#pragma once
// The main window's form resource (RCDATA "TFORMMAIN"), which carries the payload store.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace ludrin::win32 {

// The resource's bytes where the loader mapped them: the span stays valid while the module
// is loaded (for the running executable: the whole run), and nothing is copied. Nothing
// when the module has no such resource or it cannot be loaded.
std::optional<std::span<const std::uint8_t>> FindFormResource(HMODULE module);

// The start-up error of a missing or damaged payload: the fixed Italian text followed by
// the technical reason on one line.
std::wstring DamagedInstallerText(const std::wstring& reason);

} // namespace ludrin::win32
