#include "zip/zip_error.hpp"

#include <array>
#include <cstdio>
#include <utility>

namespace ludrin::zip {
namespace {

constexpr std::array<const char*, 41> kMessages{
    "Unknown error",
    "Index out of bounds",
    "Invalid compression mode. Mode must be in [0-9] range",
    "Unexpected nil pointer",
    "Invalid size or check sum of file or unsupported compression format",
    "File name is blank. Specify appropriate file name",
    "File \"%s\" not found",
    "Archive is not open",
    "SFXStub property is not specified",
    "Cannot create file \"%s\"",
    "Cannot create directory \"%s\"",
    "Internal error. Update is not started",
    "Cannot open file \"%s\"",
    "Cannot proceed when update is not ended. Preceding EndUpdate call is required.",
    "Cannot delete file \"%s\"",
    "In-memory archive can be created only",
    "File is open in read-only mode",
    "Invalid compressed size, rfs.size = %d, count = %d",
    "Invalid archive file.",
    "Cannot create output file. Probably file is locked by another process. FileName = '%s'.",
    "Archive is open. You should close it beore performing this operation.",
    "Unable to create directory",
    "Cannot find 64-bit directory end record",
    "Cannot compress file '%s'. Zip64 mode is not enabled",
    "Cannot open archive file. Opening aborted or invalid file",
    "Write to stream error",
    "Cannot place SFX stub on volume. Volume size limit is too small",
    "Archive is damaged. Open failed",
    "MakeSFX is not allowed for splitted or spanned archives. Set SFXStub before archive "
    "creation instead of MakeSFX",
    "Archive already has SFX stub",
    "Multi-volume archive is not allowed for custom stream",
    "Multi-spanned archive is not allowed for modification. Use BeginUpdate/EndUpdate methods "
    "to add files several times",
    "Deflate64 compression method is not supported",
    "MakeSFX error",
    "Hashed list of file names is invalid",
    "Cannot delete folder \"%s\"",
    "File name is too long: \r\n\"%s\"",
    "Multiple transactions are not supported for multi-volume archives",
    "Invalid InitVector index = %d. Index should be >= 0 and < %d",
    "Disk is full. There is not enough free space on disk.",
    "Invalid password. Cannot decompress encrypted file.",
};

// Native number -> message code; several raising sites share one message.
constexpr std::array<std::pair<std::int32_t, std::int32_t>, 68> kNativeToCode{{
    {0, 0},   {1, 1},   {2, 1},   {3, 1},   {4, 1},   {5, 2},   {6, 3},   {7, 1},   {8, 4},
    {9, 5},   {10, 5},  {11, 6},  {12, 6},  {13, 7},  {14, 7},  {15, 6},  {16, 1},  {17, 8},
    {18, 6},  {19, 9},  {20, 10}, {21, 1},  {22, 11}, {23, 9},  {24, 1},  {25, 11}, {26, 13},
    {27, 14}, {28, 15}, {29, 5},  {30, 6},  {31, 6},  {32, 16}, {33, 12}, {34, 17}, {35, 18},
    {36, 19}, {37, 20}, {38, 6},  {39, 21}, {40, 22}, {41, 23}, {42, 6},  {43, 23}, {44, 24},
    {45, 24}, {46, 25}, {47, 26}, {48, 27}, {49, 28}, {50, 29}, {51, 30}, {52, 31}, {53, 6},
    {54, 6},  {55, 32}, {56, 33}, {57, 27}, {58, 34}, {59, 34}, {60, 35}, {61, 36}, {62, 37},
    {63, 38}, {64, 38}, {65, 39}, {66, 39}, {67, 40},
}};

// Fills "%s" and "%d" in order; a placeholder without a value stays as written.
std::string Format(const char* pattern, const std::vector<ZipMessageArg>& args) {
    std::string out;
    std::size_t next = 0;
    for (const char* p = pattern; *p != '\0'; ++p) {
        if (p[0] == '%' && (p[1] == 's' || p[1] == 'd') && next < args.size()) {
            const auto& arg = args[next++];
            if (const auto* text = std::get_if<std::string>(&arg)) {
                out += *text;
            } else {
                out += std::to_string(std::get<std::int64_t>(arg));
            }
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

std::string BuildMessage(std::int32_t nativeError, std::int32_t code,
                         const std::string& componentName, const std::vector<ZipMessageArg>& args) {
    std::string text = args.empty() ? ZipErrorText(code) : Format(ZipErrorText(code), args);
    if (!componentName.empty()) {
        text = componentName + ": " + text;
    }
    // "%5d" with its blanks turned into zeros; a minus sign stays where "%5d" puts it.
    char number[16];
    std::snprintf(number, sizeof number, "%5d", static_cast<int>(nativeError));
    std::string padded(number);
    for (char& c : padded) {
        if (c == ' ') {
            c = '0';
        }
    }
    return text + " - Native error: " + padded;
}

} // namespace

std::int32_t ZipErrorCodeOf(std::int32_t nativeError) {
    for (const auto& [nativeNumber, code] : kNativeToCode) {
        if (nativeNumber == nativeError) {
            return code;
        }
    }
    return 0;
}

const char* ZipErrorText(std::int32_t errorCode) {
    if (errorCode < 0 || static_cast<std::size_t>(errorCode) >= kMessages.size()) {
        return kMessages[0];
    }
    return kMessages[static_cast<std::size_t>(errorCode)];
}

EZipException::EZipException(std::int32_t nativeError, const std::string& componentName,
                             const std::vector<ZipMessageArg>& args)
    : std::runtime_error(
          BuildMessage(nativeError, ZipErrorCodeOf(nativeError), componentName, args)),
      nativeError_(nativeError), errorCode_(ZipErrorCodeOf(nativeError)) {}

} // namespace ludrin::zip
