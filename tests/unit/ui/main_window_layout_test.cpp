#include "app/main_window_layout.hpp"

#include <gtest/gtest.h>

#include <set>

namespace ludrin::app {
namespace {

using enum ControlId;

TEST(MainWindowLayout, TabVisitsTheButtonsInTheFormsTabOrder) {
    // PanelLeft (tab 1) before PanelMain (tab 2); inside PanelMain the install buttons
    // (0, 1), PanelCopyright (2, no stops), Panel1 (3, reMsg disabled), the help buttons.
    EXPECT_EQ(TabSequence(),
              (std::vector<ControlId>{btnClose, btnDisinstalla, btnInstallaBase,
                                      btnInstallaComplete, btnHelpBase, btnHelpComplete}));
}

TEST(MainWindowLayout, EveryControlHasAParentListedBeforeIt) {
    std::set<ControlId> seen{Form};
    for (const auto& control : MainWindowControls()) {
        EXPECT_TRUE(seen.contains(control.parent));
        seen.insert(control.id);
    }
    EXPECT_EQ(seen.size(), 21u);
}

TEST(MainWindowLayout, IntroductionHasNineLinesWithTheEmptyOnesInPlace) {
    std::vector<std::wstring> lines;
    const std::wstring text(IntroductionText());
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos;
         start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    ASSERT_EQ(lines.size(), 9u);
    for (const std::size_t empty : {0u, 3u, 6u, 8u}) {
        EXPECT_TRUE(lines[empty].empty()) << empty;
    }
    EXPECT_EQ(lines[1],
              L"Ludrin \u00E8 il modulo della <Suite Brenvoss> attraverso il quale \u00E8");
}

TEST(MainWindowLayout, ScalesLikeMulDiv) {
    EXPECT_EQ(ScaleToDpi(563, 144), 845);
    EXPECT_EQ(ScaleToDpi(7, 144), 11);
    EXPECT_EQ(ScaleToDpi(775, 120), 969);
    EXPECT_EQ(ScaleToDpi(46, 192), 92);
}

} // namespace
} // namespace ludrin::app
