#pragma once
// A minimal 64-bit Windows executable image whose only section holds a resource tree
// with one named RCDATA resource: enough for readers of embedded resources.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace ludrin::testing {

std::vector<std::uint8_t> PeImageWithRcData(std::u16string_view name,
                                            std::span<const std::uint8_t> data);

} // namespace ludrin::testing
