#include "store/form_stream.hpp"
#include "bytes/byte_reader.hpp"
#include "bytes/byte_writer.hpp"
#include "store/store_error.hpp"

#include <cstring>
#include <limits>
#include <string>
#include <string_view>

namespace ludrin::store {
namespace {

// Value types of the form stream.
enum ValueType : std::uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,
    vaSet = 11,
    vaLString = 12,
    vaNil = 13,
    vaCollection = 14,
    vaSingle = 15,
    vaCurrency = 16,
    vaDate = 17,
    vaWString = 18,
    vaInt64 = 19,
    vaUTF8String = 20,
    vaDouble = 21,
};

constexpr std::uint8_t kFilerFlagsMarker = 0xF0;
constexpr std::uint8_t kFlagChildPos = 0x02;
constexpr int kMaxDepth = 64;
constexpr std::string_view kStoredData = "StoredData";

class FormReader {
public:
    explicit FormReader(std::span<const std::uint8_t> form) : reader_(form) {}

    std::optional<std::span<const std::uint8_t>> Find() {
        Guard([&] {
            const auto signature = reader_.Take(4, "signature");
            if (std::memcmp(signature.data(), kFormSignature, 4) != 0) {
                throw EStoreError("not a binary form stream: no TPF0 signature");
            }
        });
        Guard([&] { ReadObject(0); });
        return found_;
    }

private:
    // A stream that ends early is reported with where it ended.
    template <typename Step> void Guard(Step step) {
        try {
            step();
        } catch (const bytes::ShortRead&) {
            throw EStoreError("form stream ends early at offset " +
                              std::to_string(reader_.Position()) + " of " +
                              std::to_string(reader_.Size()));
        }
    }

    [[noreturn]] void Fail(const std::string& what) const {
        throw EStoreError("form stream offset " + std::to_string(reader_.Position()) + ": " + what);
    }

    void Enter(int depth) const {
        if (depth >= kMaxDepth) {
            Fail("nested deeper than " + std::to_string(kMaxDepth) + " levels");
        }
    }

    std::string_view ReadShortString() {
        const auto bytes = reader_.Take(reader_.ReadU8("name length"), "name");
        return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
    }

    bool EndOfList() const { return reader_.Peek("value type") == vaNull; }

    // Returns true once StoredData has been found, so that nothing after it is walked.
    bool ReadObject(int depth) {
        Enter(depth);
        if ((reader_.Peek("value type") & 0xF0) == kFilerFlagsMarker) {
            const std::uint8_t flags = reader_.ReadU8("filer flags") & 0x0F;
            if ((flags & kFlagChildPos) != 0) {
                const std::uint8_t type = reader_.ReadU8("value type");
                if (type != vaInt8 && type != vaInt16 && type != vaInt32) {
                    Fail("child position is not an integer (value type " + std::to_string(type) +
                         ")");
                }
                SkipValue(type, depth);
            }
        }
        ReadShortString(); // class name: any component may carry the store
        ReadShortString(); // component name
        while (!EndOfList()) {
            const std::string_view name = ReadShortString();
            const std::uint8_t type = reader_.ReadU8("value type");
            if (name == kStoredData && type == vaBinary) {
                found_ = reader_.Take(reader_.ReadU32("StoredData length"), "StoredData");
                return true;
            }
            SkipValue(type, depth);
        }
        reader_.ReadU8("end of list");
        while (!EndOfList()) {
            if (ReadObject(depth + 1)) {
                return true;
            }
        }
        reader_.ReadU8("end of list");
        return false;
    }

    void SkipProperties(int depth) {
        while (!EndOfList()) {
            ReadShortString();
            SkipValue(reader_.ReadU8("value type"), depth);
        }
        reader_.ReadU8("end of list");
    }

    void SkipValue(std::uint8_t type, int depth) {
        switch (type) {
        case vaNull:
        case vaFalse:
        case vaTrue:
        case vaNil:
            return;
        case vaInt8:
            return reader_.Skip(1, "value");
        case vaInt16:
            return reader_.Skip(2, "value");
        case vaInt32:
        case vaSingle:
            return reader_.Skip(4, "value");
        case vaInt64:
        case vaDouble:
        case vaCurrency:
        case vaDate:
            return reader_.Skip(8, "value");
        case vaExtended:
            return reader_.Skip(10, "value");
        case vaString:
        case vaIdent:
            return reader_.Skip(reader_.ReadU8("value length"), "value");
        case vaBinary:
        case vaLString:
        case vaUTF8String:
            return reader_.Skip(reader_.ReadU32("value length"), "value");
        case vaWString:
            return reader_.Skip(std::uint64_t{reader_.ReadU32("value length")} * 2, "value");
        case vaSet:
            while (!ReadShortString().empty()) {
            }
            return;
        case vaList:
            Enter(depth + 1);
            while (!EndOfList()) {
                SkipValue(reader_.ReadU8("value type"), depth + 1);
            }
            return reader_.Skip(1, "value");
        case vaCollection:
            Enter(depth + 1);
            while (!EndOfList()) {
                // An item may carry its order as an integer, then a list of properties.
                const std::uint8_t next = reader_.Peek("value type");
                if (next == vaInt8 || next == vaInt16 || next == vaInt32) {
                    SkipValue(reader_.ReadU8("value type"), depth + 1);
                }
                if (reader_.ReadU8("value type") != vaList) {
                    Fail("collection item is not a property list");
                }
                SkipProperties(depth + 1);
            }
            return reader_.Skip(1, "value");
        default:
            Fail("unknown value type " + std::to_string(type));
        }
    }

    bytes::ByteReader reader_;
    std::optional<std::span<const std::uint8_t>> found_;
};

void AppendShortString(std::vector<std::uint8_t>& out, std::string_view text) {
    out.push_back(static_cast<std::uint8_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

void AppendIntProperty(std::vector<std::uint8_t>& out, std::string_view name, std::int16_t value) {
    AppendShortString(out, name);
    out.push_back(vaInt16);
    bytes::AppendU16(out, static_cast<std::uint16_t>(value));
}

} // namespace

std::optional<std::span<const std::uint8_t>> FindStoredData(std::span<const std::uint8_t> form) {
    return FormReader(form).Find();
}

void ReadFormStream(std::span<const std::uint8_t> form, TstFileStorage& store) {
    if (const auto container = FindStoredData(form)) {
        store.ReadData(*container);
    }
}

std::vector<std::uint8_t> WriteFormStream(const TstFileStorage& store) {
    std::vector<std::uint8_t> out(std::begin(kFormSignature), std::end(kFormSignature));
    AppendShortString(out, "TFormMain");
    AppendShortString(out, "FormMain");
    out.push_back(vaNull); // the window's own properties live in the program
    AppendShortString(out, "TstFileStorage");
    AppendShortString(out, "stFileStorage");
    AppendIntProperty(out, "Left", 16); // design position
    AppendIntProperty(out, "Top", 16);
    if (store.Count() != 0) {
        AppendShortString(out, kStoredData);
        out.push_back(vaBinary);
        // The container is written in place behind its length field, then measured.
        bytes::LengthField length(out);
        store.WriteData(out);
        if (!length.Close()) {
            throw EStoreError("the container is 4 GiB or longer");
        }
    }
    out.push_back(vaNull); // end of the store's properties
    out.push_back(vaNull); // the store has no components
    out.push_back(vaNull); // end of the window's components
    return out;
}

} // namespace ludrin::store
