#pragma once
// The one exception class of the archive reader: a native error number that tells the
// raising site apart, the message code it maps to, and the fixed English message.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace ludrin::zip {

// One value filled into a message: "%s" takes a text (UTF-8), "%d" a number.
using ZipMessageArg = std::variant<std::string, std::int64_t>;

class EZipException : public std::runtime_error {
public:
    // `componentName` empty: the raising site passed no component (or it has no name).
    explicit EZipException(std::int32_t nativeError, const std::string& componentName = {},
                           const std::vector<ZipMessageArg>& args = {});

    std::int32_t NativeError() const { return nativeError_; }
    std::int32_t ErrorCode() const { return errorCode_; }

private:
    std::int32_t nativeError_;
    std::int32_t errorCode_;
};

// A kind of archive this reader does not open (self-extracting, multi-volume, in memory,
// a caller's stream) or an operation of the writing side.
class EZipUnsupported : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The message code of a native error number (0 for a number outside the map).
std::int32_t ZipErrorCodeOf(std::int32_t nativeError);

// The message text of a code, placeholders unfilled ("Unknown error" outside the table).
const char* ZipErrorText(std::int32_t errorCode);

// Native numbers raised by the reading side, named where they are raised.
namespace native {
inline constexpr std::int32_t kIndexOutOfBounds = 2;
inline constexpr std::int32_t kDirIndexOutOfBounds = 3;
inline constexpr std::int32_t kDecodeFailed = 8;
inline constexpr std::int32_t kBlankFileNameNoArgs = 9;
inline constexpr std::int32_t kBlankFileName = 10;
inline constexpr std::int32_t kFileNotFound = 12;
inline constexpr std::int32_t kArchiveNotOpen = 13;
inline constexpr std::int32_t kEntryIndexOutOfBounds = 16;
inline constexpr std::int32_t kCannotCreateFile = 19;
inline constexpr std::int32_t kCannotCreateDir = 20;
inline constexpr std::int32_t kUpdateNotEnded = 26;
inline constexpr std::int32_t kInMemoryCreateOnly = 28;
inline constexpr std::int32_t kInvalidArchive = 35;
inline constexpr std::int32_t kNoZip64DirEnd = 40;
inline constexpr std::int32_t kCannotOpenArchive = 44;
inline constexpr std::int32_t kArchiveDamaged = 48;
inline constexpr std::int32_t kDeflate64 = 55;
inline constexpr std::int32_t kCompressedSizesTooLarge = 57;
inline constexpr std::int32_t kHashedListInvalid = 59;
inline constexpr std::int32_t kDiskFull = 65;
inline constexpr std::int32_t kInvalidPassword = 67;
} // namespace native

} // namespace ludrin::zip
