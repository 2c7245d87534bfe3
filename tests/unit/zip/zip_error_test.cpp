// The archive errors' messages: table text, placeholders, component prefix and the
// zero-padded native number.

#include "zip/zip_error.hpp"

#include <gtest/gtest.h>

namespace ludrin::zip {
namespace {

TEST(ZipError, MessagesAsTheFailureHandlerAndTheUserSeeThem) {
    struct Case {
        std::int32_t native;
        std::string component;
        std::vector<ZipMessageArg> args;
        std::int32_t code;
        std::string message;
    };
    const std::vector<Case> cases{
        {12,
         "Archiver",
         {std::string("C:\\T\\brvdll.zip")},
         6,
         "Archiver: File \"C:\\T\\brvdll.zip\" not found - Native error: 00012"},
        {35, "", {}, 18, "Invalid archive file. - Native error: 00035"},
        {100, "", {}, 0, "Unknown error - Native error: 00100"},
        {-1, "", {}, 0, "Unknown error - Native error: 000-1"},
        {8,
         "Archiver",
         {},
         4,
         "Archiver: Invalid size or check sum of file or unsupported compression format - "
         "Native error: 00008"},
        {65,
         "",
         {},
         39,
         "Disk is full. There is not enough free space on disk. - Native error: 00065"},
        {34,
         "",
         {std::int64_t{10}, std::int64_t{-3}},
         17,
         "Invalid compressed size, rfs.size = 10, count = -3 - Native error: 00034"},
        {61, "", {std::string("x")}, 36, "File name is too long: \r\n\"x\" - Native error: 00061"},
        {59, "", {}, 34, "Hashed list of file names is invalid - Native error: 00059"},
        {123456, "", {}, 0, "Unknown error - Native error: 123456"},
    };
    for (const Case& c : cases) {
        const EZipException e(c.native, c.component, c.args);
        EXPECT_EQ(e.what(), c.message) << c.native;
        EXPECT_EQ(e.NativeError(), c.native);
        EXPECT_EQ(e.ErrorCode(), c.code) << c.native;
    }
}

// Raising sites share messages; the map is what tells them apart for the handler.
TEST(ZipError, NativeNumbersOfTheReadingSideMapToTheirMessages) {
    const std::vector<std::pair<std::int32_t, std::string>> cases{
        {2, "Index out of bounds"},
        {3, "Index out of bounds"},
        {9, "File name is blank. Specify appropriate file name"},
        {10, "File name is blank. Specify appropriate file name"},
        {13, "Archive is not open"},
        {16, "Index out of bounds"},
        {19, "Cannot create file \"%s\""},
        {20, "Cannot create directory \"%s\""},
        {26, "Cannot proceed when update is not ended. Preceding EndUpdate call is required."},
        {28, "In-memory archive can be created only"},
        {40, "Cannot find 64-bit directory end record"},
        {44, "Cannot open archive file. Opening aborted or invalid file"},
        {48, "Archive is damaged. Open failed"},
        {55, "Deflate64 compression method is not supported"},
        {57, "Archive is damaged. Open failed"},
        {67, "Invalid password. Cannot decompress encrypted file."},
    };
    for (const auto& [native, text] : cases) {
        EXPECT_STREQ(ZipErrorText(ZipErrorCodeOf(native)), text.c_str()) << native;
    }
}

} // namespace
} // namespace ludrin::zip
