// The executable reader of ludrin-pack on resource trees that repeat themselves.

#include "ludrin-pack/pe_resources.hpp"
#include "support/pe_image_writer.hpp"
#include "support/resource_tree_writer.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ludrin::pack {
namespace {

using ludrin::testing::PeImageWithResourceTree;
using ludrin::testing::RepeatedRcDataTree;

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

} // namespace
} // namespace ludrin::pack
