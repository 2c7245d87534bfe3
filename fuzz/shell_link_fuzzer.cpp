// Any bytes as a shortcut file: the reader answers fields or throws its two errors, and the
// fields it answers, written again, read back the same.

#include "bytes/byte_reader.hpp"
#include "platform/shelllink/lnk_format.hpp"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ludrin::shelllink::lnk;
    ShellLinkData read;
    try {
        read = ReadShellLink(std::span<const std::uint8_t>(data, size));
    } catch (const LnkFormatError&) {
        return 0;
    } catch (const ludrin::bytes::ShortRead&) {
        return 0;
    }
    std::vector<std::uint8_t> written;
    try {
        written = WriteShellLink(read);
    } catch (const LnkFormatError&) {
        return 0; // a link-info path longer than a counted string may be
    }
    if (ReadShellLink(written) != read) {
        std::abort();
    }
    return 0;
}
