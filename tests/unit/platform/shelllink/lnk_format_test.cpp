// The shortcut file format: our writer's bytes against the published layout, our reader on
// files shaped as other writers make them, and damaged input. Inputs are copied into heap
// buffers of their exact size, so that the sanitizer sees any read past the end.

#include "bytes/byte_reader.hpp"
#include "platform/shelllink/lnk_format.hpp"
#include "support/shell_link_data_print.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>

namespace ludrin::shelllink::lnk {
namespace {

using ::testing::HasSubstr;
using Bytes = std::vector<std::uint8_t>;

Bytes U16(std::uint16_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
}
Bytes U32(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}
Bytes Zeros(std::size_t n) {
    return Bytes(n, 0);
}
Bytes Ansi(std::string_view text) {
    return Bytes(text.begin(), text.end());
}
Bytes Utf16(std::u16string_view text) {
    Bytes out;
    for (const char16_t unit : text) {
        const Bytes b = U16(unit);
        out.insert(out.end(), b.begin(), b.end());
    }
    return out;
}
Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

const Bytes kClsid = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                      0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

Bytes Header(std::uint32_t flags, std::int32_t icon, std::uint32_t show, std::uint16_t hotKey) {
    return Cat({U32(0x4C), kClsid, U32(flags), U32(0x20), Bytes(24, 0x11), U32(4096),
                U32(static_cast<std::uint32_t>(icon)), U32(show), U16(hotKey), Zeros(10)});
}

// The reader sees the bytes in a buffer of exactly their size.
ShellLinkData Read(const Bytes& bytes) {
    auto buffer = std::make_unique<std::uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), buffer.get());
    return ReadShellLink(std::span<const std::uint8_t>(buffer.get(), bytes.size()));
}

TEST(LnkWriter, TheInstallersShortcutHasThePublishedLayout) {
    ShellLinkData data;
    data.target = L"C:\\L\\LUD.exe"; // 12 characters
    data.workingDirectory = L"C:\\L";
    const Bytes expected = Cat({
        // Header: link info, working folder, Unicode strings; icon 0, show 1, no hot key.
        U32(0x4C), kClsid, U32(0x02 | 0x10 | 0x80), U32(0), Zeros(8 * 3), U32(0), U32(0), U32(1),
        U16(0), Zeros(10),
        // Link info: a header with the UTF-16 offsets, volume id, both paths, empty suffixes.
        U32(0x5F), U32(0x24), U32(1), U32(0x24), U32(0x35), U32(0), U32(0x42), U32(0x43),
        U32(0x5D),                                      //
        U32(0x11), U32(3), U32(0), U32(0x10), Zeros(1), // fixed drive, no label
        Ansi("C:\\L\\LUD.exe"), Zeros(1), Zeros(1),     // ANSI path and suffix
        Utf16(u"C:\\L\\LUD.exe"), Zeros(2), Zeros(2),   // UTF-16 path and suffix
        U16(4), Utf16(u"C:\\L"),                        // working folder
        U32(0),                                         // no extra data
    });
    EXPECT_EQ(WriteShellLink(data), expected);
}

TEST(LnkWriter, PutsShowCommandHotKeyAndIconIndexWhereTheHeaderHasThem) {
    ShellLinkData data;
    data.iconIndex = -2;
    data.showCommand = 7;
    data.hotKey = 0x0374;
    const Bytes bytes = WriteShellLink(data);
    const bytes::ByteReader r(bytes);
    EXPECT_EQ(r.U32At(0x38, "icon"), 0xFFFFFFFEu);
    EXPECT_EQ(r.U32At(0x3C, "show"), 7u);
    EXPECT_EQ(r.U16At(0x40, "hot key"), 0x0374);
    // No target: no link info, and nothing but the header and the end of extra data.
    EXPECT_EQ(r.U32At(0x14, "flags"), 0x80u);
    EXPECT_EQ(bytes.size(), 0x4Cu + 4);
}

TEST(LnkWriter, NonLatinCharactersBecomeQuestionMarksOnlyInTheAnsiPath) {
    ShellLinkData data;
    data.target = L"C:\\Nicol\u00F2\\\u65E5\\a.exe";
    const Bytes bytes = WriteShellLink(data);
    const Bytes ansi = Ansi("C:\\Nicol\xF2\\?\\a.exe");
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), ansi.begin(), ansi.end()), bytes.end());
    EXPECT_EQ(Read(bytes).target, data.target);
}

struct RoundTrip {
    const char* name;
    ShellLinkData data;
};

TEST(LnkFormat, WhatTheWriterWritesTheReaderReadsBack) {
    const std::wstring longest(0xFFFF, L'x');
    const RoundTrip cases[] = {
        {"nothing set", {}},
        {"the installer's shortcut",
         {L"C:\\Users\\u\\Documents\\Ludrin\\LUD.exe", L"", L"C:\\Users\\u\\Documents\\Ludrin", L"",
          L"", 0, 1, 0}},
        {"every field",
         {L"C:\\Programmi\\Ludrin\\LUD.exe", L"/brano \"Canzone d'estate.mp3\"",
          L"C:\\Programmi\\Ludrin", L"Ludrin \u00E8 il lettore", L"C:\\icone.dll", -7, 3, 0x0441}},
        {"characters beyond the basic plane and a lone surrogate",
         {L"C:\\\U0001F3B5\\a.exe", L"\U0001F600", L"C:\\\u65E5\u672C", L"\xD800x", L"", 0, 7,
          0x0374}},
        {"a POSIX target", {L"/home/u/Ludrin/LUD.exe", L"", L"/home/u/Ludrin", L"", L"", 0, 1, 0}},
        {"the longest texts a shortcut holds",
         {longest, longest, longest, longest, longest, 0x7FFFFFFF, 0xFFFFFFFF, 0xFFFF}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Read(WriteShellLink(c.data)), c.data);
    }
}

TEST(LnkWriter, RefusesTextsAShortcutCannotHold) {
    const std::pair<const char*, std::function<void(ShellLinkData&)>> cases[] = {
        {"target",
         [](ShellLinkData& d) {
             d.target = std::wstring(L"C:\\a\0b", 6);
         }},
        {"arguments",
         [](ShellLinkData& d) {
             d.arguments = std::wstring(0x10000, L'a');
         }},
        // One character beyond the plane takes two units.
        {"description",
         [](ShellLinkData& d) {
             d.description = std::wstring(0xFFFE, L'a') + L"\U0001F600";
         }},
        {"icon location",
         [](ShellLinkData& d) {
             d.iconLocation = std::wstring(1, L'\0');
         }},
    };
    for (const auto& [field, spoil] : cases) {
        SCOPED_TRACE(field);
        ShellLinkData data;
        spoil(data);
        try {
            WriteShellLink(data);
            ADD_FAILURE() << "written";
        } catch (const LnkFormatError& error) {
            EXPECT_THAT(error.what(), HasSubstr(field));
        }
    }
}

// A shortcut as the shell writes it for an old-style target: an item-id list before the link
// info, a link info without UTF-16 paths whose path is split into base and suffix, ANSI strings
// with a relative path among them, and an extra data block after them.
Bytes ForeignShortcut() {
    const Bytes base = Cat({Ansi("C:\\Programmi\\"), Zeros(1)});
    const Bytes suffix = Cat({Ansi("Ludrin\\LUD.exe"), Zeros(1)});
    const std::uint32_t baseAt = 0x1C + 0x11;
    const auto suffixAt = static_cast<std::uint32_t>(baseAt + base.size());
    const auto linkInfoSize = static_cast<std::uint32_t>(suffixAt + suffix.size());
    const auto counted = [](std::string_view text) {
        return Cat({U16(static_cast<std::uint16_t>(text.size())), Ansi(text)});
    };
    return Cat({
        Header(0x7F, 5, 3, 0x0241),
        U16(6),
        U16(4),
        U16(0xBEEF),
        U16(0), // item-id list: one item, then the end
        U32(linkInfoSize),
        U32(0x1C),
        U32(1),
        U32(0x1C),
        U32(baseAt),
        U32(0),
        U32(suffixAt),
        U32(0x11),
        U32(3),
        U32(0x1234ABCD),
        U32(0x10),
        Zeros(1),
        base,
        suffix,
        counted("Lettore \xE8"),
        counted("..\\LUD.exe"),
        counted("C:\\Programmi\\Ludrin"),
        counted("-x"),
        counted("C:\\Programmi\\Ludrin\\LUD.exe"),
        U32(0x0C),
        U32(0xA0000003),
        U32(0), // an extra data block
        U32(0),
    });
}

TEST(LnkReader, ReadsAShortcutWithAnsiStringsAndASplitPath) {
    const ShellLinkData data = Read(ForeignShortcut());
    EXPECT_EQ(data.target, L"C:\\Programmi\\Ludrin\\LUD.exe");
    EXPECT_EQ(data.description, L"Lettore \u00E8");
    EXPECT_EQ(data.workingDirectory, L"C:\\Programmi\\Ludrin");
    EXPECT_EQ(data.arguments, L"-x");
    EXPECT_EQ(data.iconLocation, L"C:\\Programmi\\Ludrin\\LUD.exe");
    EXPECT_EQ(data.iconIndex, 5);
    EXPECT_EQ(data.showCommand, 3u);
    EXPECT_EQ(data.hotKey, 0x0241);
}

TEST(LnkReader, IgnoresALinkInfoTheFlagsDisownAndTakesTextsUpToTheirFirstNull) {
    Bytes bytes = ForeignShortcut();
    bytes[0x14 + 1] = 0x01; // ForceNoLinkInfo
    const Bytes arguments = Ansi("-x");
    const auto at = std::search(bytes.begin(), bytes.end(), arguments.begin(), arguments.end());
    *(at + 1) = 0;
    const ShellLinkData data = Read(bytes);
    EXPECT_EQ(data.target, L"");
    EXPECT_EQ(data.arguments, L"-");
    EXPECT_EQ(data.workingDirectory, L"C:\\Programmi\\Ludrin");
}

// The UTF-16 halves are one text: a character split into its surrogates across the base
// and the suffix is one character, as Windows reads it.
TEST(LnkReader, PrefersTheUtf16PathsOfTheLinkInfo) {
    const struct {
        std::u16string base, suffix;
        std::wstring target;
    } cases[] = {
        {u"C:\\Nicol\u00F2\\", u"LUD.exe", L"C:\\Nicol\u00F2\\LUD.exe"},
        {u"C:\\x\xD83D", u"\xDE00.exe", L"C:\\x\U0001F600.exe"},
    };
    for (const auto& c : cases) {
        const Bytes base = Cat({Utf16(c.base), Zeros(2)});
        const Bytes suffix = Cat({Utf16(c.suffix), Zeros(2)});
        const Bytes ansi = Cat({Ansi("C:\\Nicol?\\LUD.exe"), Zeros(2)});
        const std::uint32_t ansiAt = 0x24 + 0x11;
        const auto baseAt = static_cast<std::uint32_t>(ansiAt + ansi.size());
        const auto suffixAt = static_cast<std::uint32_t>(baseAt + base.size());
        const auto size = static_cast<std::uint32_t>(suffixAt + suffix.size());
        const Bytes bytes = Cat(
            {Header(0x82, 0, 1, 0), U32(size), U32(0x24), U32(1), U32(0x24), U32(ansiAt), U32(0),
             U32(ansiAt + static_cast<std::uint32_t>(ansi.size()) - 1), U32(baseAt), U32(suffixAt),
             U32(0x11), U32(3), U32(0), U32(0x10), Zeros(1), ansi, base, suffix, U32(0)});
        const ShellLinkData data = Read(bytes);
        EXPECT_EQ(data.target, c.target);
        EXPECT_EQ(Read(WriteShellLink(data)), data) << "written again, read back";
    }
}

TEST(LnkReader, EveryCutOfAShortcutIsAShortReadNamingTheField) {
    // The extra data blocks after the strings are not needed to read the fields.
    const std::pair<Bytes, std::size_t> shortcuts[] = {
        {ForeignShortcut(), 16},
        {WriteShellLink({L"C:\\a.exe", L"-x", L"C:\\", L"d", L"C:\\i.ico", 1, 7, 9}), 4}};
    for (const auto& [whole, extraData] : shortcuts) {
        for (std::size_t size = 0; size + extraData < whole.size(); ++size) {
            const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
            try {
                Read(cut);
                ADD_FAILURE() << "read " << size << " bytes";
            } catch (const bytes::ShortRead& error) {
                EXPECT_NE(std::string(error.Field()), "");
            } catch (const LnkFormatError&) {
                // A cut inside the link info leaves a path without its terminating null.
            }
        }
    }
}

struct Damage {
    const char* name;
    std::function<void(Bytes&)> spoil;
    const char* message;
};

void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    const Bytes b = U32(value);
    std::copy(b.begin(), b.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

TEST(LnkReader, DamagedShortcutsAreClearErrors) {
    // Offsets in ForeignShortcut(): the link info starts at 0x4C + 8.
    constexpr std::size_t kInfo = 0x4C + 8;
    const Damage cases[] = {
        {"another header size", [](Bytes& b) { PutU32(b, 0, 0x4D); }, "header size 77"},
        {"another class", [](Bytes& b) { b[4] = 0x02; }, "another class"},
        {"an item-id list beyond the end", [](Bytes& b) { b[0x4C] = 0xFF, b[0x4D] = 0xFF; },
         "item-id list"},
        {"a link info smaller than its header", [](Bytes& b) { PutU32(b, kInfo, 0x10); },
         "smaller than its header"},
        {"a link info beyond the end", [](Bytes& b) { PutU32(b, kInfo, 0x7FFFFFFF); },
         "link-info block"},
        {"a link-info header larger than the block", [](Bytes& b) { PutU32(b, kInfo + 4, 0x1000); },
         "does not fit"},
        {"a base path offset beyond the block",
         [](Bytes& b) { PutU32(b, kInfo + 0x10, 0xFFFFFFF0); }, "local base path"},
        {"a suffix without its null", [](Bytes& b) { b[kInfo + b[kInfo] - 1] = 'x'; },
         "no terminating null"},
        {"a string longer than the file",
         [](Bytes& b) { b[kInfo + b[kInfo]] = 0xFF, b[kInfo + b[kInfo] + 1] = 0xFF; },
         "description"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = ForeignShortcut();
        c.spoil(bytes);
        try {
            Read(bytes);
            ADD_FAILURE() << "read";
        } catch (const std::runtime_error& error) {
            EXPECT_THAT(error.what(), HasSubstr(c.message));
        }
    }
}

} // namespace
} // namespace ludrin::shelllink::lnk
