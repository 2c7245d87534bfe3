// The executable reader of ludrin-pack on resource trees that repeat themselves.

#include "ludrin-pack/pe_resources.hpp"
#include "support/pe_image_writer.hpp"
#include "support/resource_tree_writer.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ludrin::pack {
namespace {

using ludrin::testing::kRtRcData;
using ludrin::testing::kRtVersion;
using ludrin::testing::PeImageWithResources;
using ludrin::testing::PeImageWithResourceTree;
using ludrin::testing::RepeatedRcDataTree;
using ludrin::testing::ResourceSpec;

// Type entries that repeat one directory change nothing about the answer: the resource
// behind a later, different directory is still found, and a name that is nowhere is
// still missing. (Walking each directory once keeps the 1 MB worst case linear; its
// time is in the benchmarks.)
TEST(PeResources, RepeatedDirectoriesKeepTheAnswer) {
    const std::vector<std::uint8_t> data = {'T', 'P', 'F', '0', 1, 2, 3};
    const struct {
        std::uint16_t repeats;
        std::uint16_t decoys;
        const char16_t* wanted;
        bool found;
    } cases[] = {
        {1, 1, u"TFORMMAIN", true}, {3, 5, u"TFORMMAIN", true}, {200, 200, u"TFORMMAIN", true},
        {200, 200, u"", false},     {0, 0, u"tformmain", true}, // names compare without regard to
                                                                // ASCII case
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.repeats) + " repeats, " + std::to_string(c.decoys) +
                     " decoys");
        const auto image = PeImageWithResourceTree(
            RepeatedRcDataTree(c.repeats, c.decoys, u"TFORMMAIX", c.wanted, data));
        const auto found = FindRcData(image, u"TFORMMAIN");
        ASSERT_EQ(found.has_value(), c.found);
        if (c.found) {
            EXPECT_EQ(std::vector<std::uint8_t>(found->begin(), found->end()), data);
        }
    }
}

// Windows picks among a resource's languages (and among equal names) by the user's language
// settings, so a tool that reads one of several would describe a payload other than the one
// that runs. Several are refused, naming each; other resources may come in any number.
TEST(PeResources, AFormOrVersionInSeveralLanguagesOrNamesIsRefusedByName) {
    const std::vector<std::uint8_t> a = {'a'};
    const std::vector<std::uint8_t> b = {'b'};
    const ResourceSpec form{kRtRcData, u"TFORMMAIN", 0, 0x409, a};
    const ResourceSpec version{kRtVersion, u"", 1, 0x409, a};
    const struct {
        const char* name;
        std::vector<ResourceSpec> resources;
        const char* refused; // what the message names, or nothing when both are found
    } cases[] = {
        {"one of each, and others in several languages",
         {form,
          version,
          {kRtRcData, u"OTHER", 0, 0x409, b},
          {kRtRcData, u"OTHER", 0, 0x410, b},
          {kRtVersion + 1, u"", 1, 0x410, b}},
         nullptr},
        {"form in two languages",
         {form, version, {kRtRcData, u"TFORMMAIN", 0, 0x410, b}},
         "RCDATA TFORMMAIN in 2 places: TFORMMAIN language 0x0409, TFORMMAIN language 0x0410"},
        {"form under two spellings of its name",
         {form, version, {kRtRcData, u"tformmain", 0, 0x409, b}},
         "RCDATA TFORMMAIN in 2 places: TFORMMAIN language 0x0409, tformmain language 0x0409"},
        {"version in two languages",
         {form, version, {kRtVersion, u"", 1, 0x410, b}},
         "version resource in 2 places: #1 language 0x0409, #1 language 0x0410"},
        {"two versions",
         {form, version, {kRtVersion, u"", 2, 0x409, b}, {kRtVersion, u"V", 0, 0x409, b}},
         "version resource in 3 places: V language 0x0409, #1 language 0x0409, #2 language "
         "0x0409"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto image = PeImageWithResources(c.resources);
        if (c.refused == nullptr) {
            const auto found = FindRcData(image, u"TFORMMAIN");
            ASSERT_TRUE(found);
            EXPECT_EQ(std::vector<std::uint8_t>(found->begin(), found->end()), a);
            EXPECT_TRUE(FindVersionResource(image));
            continue;
        }
        try {
            FindRcData(image, u"TFORMMAIN");
            FindVersionResource(image);
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(c.refused), std::string::npos) << error.what();
        }
    }
}

} // namespace
} // namespace ludrin::pack
