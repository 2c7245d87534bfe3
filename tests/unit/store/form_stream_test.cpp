#include "store/form_stream.hpp"
#include "store/store_error.hpp"
#include "unit/store/store_test_util.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ludrin::store {
namespace {

using namespace test;
using ::testing::HasSubstr;

Bytes Short(const std::string& s) {
    return Cat({Hex({static_cast<int>(s.size())}), Text(s)});
}

Bytes Property(const std::string& name, const Bytes& value) {
    return Cat({Short(name), value});
}

Bytes Object(const Bytes& head, const std::string& cls, const std::string& name,
             const Bytes& properties, const Bytes& children) {
    return Cat({head, Short(cls), Short(name), properties, Hex({0}), children, Hex({0})});
}

Bytes Form(const Bytes& root) {
    return Cat({Text("TPF0"), root});
}

Bytes StoredData(const Bytes& container) {
    return Property("StoredData",
                    Cat({Hex({10}), U32(static_cast<std::uint32_t>(container.size())), container}));
}

// One property of every value type the form format knows, none of them StoredData.
Bytes EveryValueType() {
    return Cat({
        Property("Null", Hex({0})),
        Property("List", Hex({1, 2, 7, 6, 2, 'h', 'i', 1, 8, 0, 0})), // nested list
        Property("Int8", Hex({2, 0xFF})),
        Property("Int16", Hex({3, 1, 2})),
        Property("Int32", Hex({4, 1, 2, 3, 4})),
        Property("Extended", Cat({Hex({5}), Bytes(10, 0x40)})),
        Property("String", Cat({Hex({6}), Short("ciao")})),
        Property("Ident", Cat({Hex({7}), Short("clBlack")})),
        Property("False", Hex({8})),
        Property("True", Hex({9})),
        Property("Binary", Cat({Hex({10}), U32(3), Hex({0, 10, 0})})),
        Property("Set", Cat({Hex({11}), Short("fsBold"), Short("fsItalic"), Hex({0})})),
        Property("LString", Cat({Hex({12}), U32(2), Text("ok")})),
        Property("Nil", Hex({13})),
        // Two items: one with an order value, one without; each a property list.
        Property("Collection",
                 Cat({Hex({14}), Hex({2, 5}), Hex({1}), Property("Width", Hex({2, 50})), Hex({0}),
                      Hex({1}), Hex({0}), Hex({0})})),
        Property("Single", Cat({Hex({15}), Bytes(4, 1)})),
        Property("Currency", Cat({Hex({16}), Bytes(8, 1)})),
        Property("Date", Cat({Hex({17}), Bytes(8, 1)})),
        Property("WString", Cat({Hex({18}), U32(2), Hex({'a', 0, 'b', 0})})),
        Property("Int64", Cat({Hex({19}), Bytes(8, 1)})),
        Property("UTF8String", Cat({Hex({20}), U32(3), Text("abc")})),
        Property("Double", Cat({Hex({21}), Bytes(8, 1)})),
        // A StoredData of another type is not the container.
        Property("StoredData", Hex({9})),
    });
}

TEST(FormStream, WrittenFormCarriesTheContainerAndReadsBack) {
    TstFileStorage written;
    auto file = std::make_unique<TStoredFile>(&written);
    file->FileName = L"LUD.exe";
    file->Data = Text("contenuto");
    file->Size = static_cast<std::uint32_t>(file->Data.size());
    written.Files.push_back(std::move(file));

    const Bytes form = WriteFormStream(written);
    Bytes container;
    written.WriteData(container);
    const auto found = FindStoredData(form);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(Bytes(found->begin(), found->end()), container);
    EXPECT_GE(found->data(), form.data());
    EXPECT_LE(found->data() + found->size(), form.data() + form.size()) << "in place";

    TstFileStorage read;
    ReadFormStream(form, read);
    ASSERT_EQ(read.Count(), 1u);
    EXPECT_EQ(read.Files[0]->FileName, L"LUD.exe");
    EXPECT_EQ(read.Files[0]->Bytes(), Text("contenuto"));
}

TEST(FormStream, EmptyStoreWritesNoStoredDataAndReadsEmpty) {
    TstFileStorage empty;
    const Bytes form = WriteFormStream(empty);
    EXPECT_FALSE(FindStoredData(form).has_value());
    EXPECT_EQ(
        std::search(form.begin(), form.end(), std::begin("StoredData"), std::end("StoredData") - 1),
        form.end());
    TstFileStorage read;
    ReadFormStream(form, read);
    EXPECT_EQ(read.Count(), 0u);
}

TEST(FormStream, FindsStoredDataInAnyComponentAfterEveryValueType) {
    const Bytes container = Cat({Text("SFP1"), U32(0)});
    // Filer flags with a child position (0xF2, then an integer) on the component.
    const Bytes child = Object(Hex({0xF2, 3, 1, 0}), "TSomethingElse", "Storage",
                               Cat({EveryValueType(), StoredData(container)}), {});
    const Bytes sibling = Object({}, "TButton", "btnOk", EveryValueType(), {});
    const Bytes form =
        Form(Object(Hex({0xF1}), "TForm1", "Form1", EveryValueType(), Cat({sibling, child})));
    const auto found = FindStoredData(form);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(Bytes(found->begin(), found->end()), container);
}

TEST(FormStream, WithoutStoredDataTheStoreStaysEmpty) {
    const Bytes form = Form(Object({}, "TFormMain", "FormMain", EveryValueType(),
                                   Object({}, "TLabel", "LabelVersion", EveryValueType(), {})));
    EXPECT_FALSE(FindStoredData(form).has_value());
}

Bytes Nested(int depth) {
    Bytes object = Object({}, "T", "n", {}, {});
    for (int i = 0; i < depth; ++i) {
        object = Object({}, "T", "n", {}, object);
    }
    return Form(object);
}

struct BadForm {
    const char* name;
    Bytes form;
    const char* message;
};

class FormRejects : public ::testing::TestWithParam<BadForm> {};

TEST_P(FormRejects, ItWithAClearError) {
    const auto& c = GetParam();
    auto bytes = std::make_unique<std::uint8_t[]>(c.form.size());
    std::copy(c.form.begin(), c.form.end(), bytes.get());
    try {
        FindStoredData({bytes.get(), c.form.size()});
        FAIL() << "accepted";
    } catch (const EStoreError& error) {
        EXPECT_THAT(error.what(), HasSubstr(c.message));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, FormRejects,
    ::testing::Values(
        BadForm{"no_signature", Text("TPF1xxxx"), "no TPF0 signature"},
        BadForm{"too_short", Text("TP"), "ends early"},
        BadForm{"cut_in_class_name", Cat({Text("TPF0"), Hex({9}), Text("TFor")}), "ends early"},
        BadForm{"unknown_value_type", Form(Object({}, "T", "n", Property("X", Hex({22})), {})),
                "unknown value type 22"},
        BadForm{"stored_data_past_end",
                Cat({Text("TPF0"), Short("T"), Short("n"), Short("StoredData"), Hex({10}),
                     U32(1000), Text("SFP1")}),
                "ends early"},
        BadForm{"child_position_not_integer", Form(Object(Hex({0xF2, 6}), "T", "n", {}, {})),
                "child position"},
        BadForm{"collection_item_not_list",
                Form(Object({}, "T", "n", Property("C", Hex({14, 9, 0})), {})), "collection item"},
        BadForm{"nested_too_deep", Nested(100), "nested deeper"},
        BadForm{"lists_too_deep", Form(Object({}, "T", "n", Property("L", Bytes(200, 1)), {})),
                "nested deeper"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace ludrin::store
