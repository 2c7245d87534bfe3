// A copy of the installer whose form resource lacks the payload is stopped at start-up.

#include "app/installation_layout.hpp"
#include "app/payload_check.hpp"
#include "store/form_stream.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ludrin::app {
namespace {

// A form resource written by the store's own writer, holding `files` small files.
std::vector<std::uint8_t> FormWith(std::size_t files) {
    store::TstFileStorage written;
    for (std::size_t i = 0; i < files; ++i) {
        auto file = std::make_unique<store::TStoredFile>(&written);
        file->FileName = kPayloadSlots[i % kPayloadSlotCount].fileName;
        file->Data = {1, 2, 3};
        file->Size = 3;
        written.Files.push_back(std::move(file));
    }
    return store::WriteFormStream(written);
}

TEST(PayloadCheck, AFormWithoutTheWholePayloadIsRefused) {
    const struct {
        const char* name;
        std::vector<std::uint8_t> form;
        const wchar_t* reason; // nullptr: the payload is there
    } cases[] = {
        {"empty resource", {}, L"empty"},
        {"no StoredData", FormWith(0), L"no StoredData"},
        {"one file", FormWith(1), L"holds 1 files instead of 6"},
        {"five files", FormWith(5), L"holds 5 files instead of 6"},
        {"all six", FormWith(6), nullptr},
        {"more than six", FormWith(7), nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Read as the installer reads it, into an exact-size copy.
        const std::vector<std::uint8_t> resource(c.form);
        store::TstFileStorage store;
        if (!resource.empty()) {
            store::ReadFormStream(resource, store);
        }
        const auto missing = MissingPayload(resource, store);
        if (c.reason == nullptr) {
            EXPECT_FALSE(missing.has_value());
            continue;
        }
        ASSERT_TRUE(missing.has_value());
        EXPECT_NE(missing->find(c.reason), std::wstring::npos);
        EXPECT_EQ(missing->find(L'\n'), std::wstring::npos);
    }
}

} // namespace
} // namespace ludrin::app
