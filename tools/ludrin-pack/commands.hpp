#pragma once
// The tool's commands. Each returns the process exit code; errors in the input throw.

#include <ostream>
#include <string>
#include <vector>

namespace ludrin::pack {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // bad or damaged input, a check that failed
inline constexpr int kExitUsage = 2;

int Build(const std::string& out, const std::vector<std::string>& slots, std::ostream& log);
// With `sha256`, each stored file is unpacked and its SHA-256 added before its name.
int List(const std::string& file, std::ostream& out, bool sha256 = false);
// The release report: file version, every stored file with size and SHA-256, and the entry
// count and unpacked total of the archive in slot 0.
int Report(const std::string& file, std::ostream& out);
int ExtractSlot(const std::string& file, const std::string& slot, const std::string& out,
                std::ostream& log);
int Verify(const std::string& file, std::ostream& out);
// Lists a ZIP archive as the installer's reader opens it; with `test`, decodes each entry.
int ListZip(const std::string& archive, bool test, std::ostream& out, std::ostream& err);
// Extracts a ZIP archive exactly as the installer does into `toDir` (a temporary folder that
// is removed afterwards when empty), printing every event; 0 only when every entry arrived.
int CheckZip(const std::string& archive, const std::string& toDir, std::ostream& out,
             std::ostream& err);

} // namespace ludrin::pack
