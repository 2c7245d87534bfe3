#pragma once
// The two help balloons' titles and messages, by item (0: base, 1: advanced features).

#include <string_view>

namespace ludrin::app {

struct HelpItemText {
    std::wstring_view title;
    std::wstring_view message;
};

HelpItemText HelpItem(int index);

} // namespace ludrin::app
