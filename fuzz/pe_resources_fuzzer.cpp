// Any bytes as an executable: ludrin-pack's reader finds the form resource, finds none, or
// says the image is damaged; and a form it finds lies inside the input.

#include "ludrin-pack/pe_resources.hpp"

#include <cstdlib>
#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> image(data, size);
    try {
        const auto form = ludrin::pack::FindRcData(image, u"TFORMMAIN");
        if (form && (form->data() < data || form->data() + form->size() > data + size)) {
            std::abort();
        }
    } catch (const std::runtime_error&) {
    }
    return 0;
}
