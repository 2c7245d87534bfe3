#include "app/main_window_layout.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <variant>

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

TEST(MainWindowLayout, EveryFocusableControlHasANameAndImageOnlyButtonsTheirHint) {
    for (const ControlId id : TabSequence()) {
        const ControlDef* spec = FindControl(id);
        ASSERT_NE(spec, nullptr);
        EXPECT_FALSE(WindowTextOf(*spec).empty()) << static_cast<int>(id);
    }
    EXPECT_EQ(WindowTextOf(*FindControl(btnHelpComplete)),
              L"Info Installazione Funzionalit\u00E0 Avanzate");
    EXPECT_EQ(WindowTextOf(*FindControl(btnClose)), L"Esce");
    // Labels keep their own text, empty or not.
    EXPECT_EQ(WindowTextOf(*FindControl(LabelTitle)), FindControl(LabelTitle)->text);
}

TEST(MainWindowLayout, EveryControlHasAParentListedBeforeIt) {
    std::set<ControlId> seen{Form};
    for (const auto& control : MainWindowControls()) {
        EXPECT_TRUE(seen.contains(control.parent));
        seen.insert(control.id);
    }
    EXPECT_EQ(seen.size(), 21u);
}

template <typename Look> constexpr std::size_t LookIndex() {
    return ControlLook(Look{}).index();
}

// The window picks each control's look by its kind: a look of another kind would end the
// start-up, and a control that draws text without a font would draw it in the system font.
TEST(MainWindowLayout, EveryControlCarriesTheLookAndFontItsKindDraws) {
    struct KindNeeds {
        ControlKind kind;
        std::size_t look;
        bool drawsText;
    };
    constexpr KindNeeds kNeeds[] = {
        {ControlKind::Panel, LookIndex<ui::PanelLook>(), false},
        {ControlKind::Label3D, LookIndex<ui::Label3DLook>(), true},
        {ControlKind::GlowButton, LookIndex<ui::GlowButtonLook>(), true},
        {ControlKind::Reflection, LookIndex<ui::PictureLook>(), false},
        {ControlKind::Picture, LookIndex<ui::PictureLook>(), false},
        {ControlKind::RichText, LookIndex<std::monostate>(), true},
        {ControlKind::ProgressBar, LookIndex<std::monostate>(), false},
    };
    for (const auto& control : MainWindowControls()) {
        const std::string name(control.name.begin(), control.name.end());
        const auto* needs = std::ranges::find(kNeeds, control.kind, &KindNeeds::kind);
        ASSERT_NE(needs, std::end(kNeeds)) << name;
        EXPECT_EQ(control.look.index(), needs->look) << name;
        EXPECT_EQ(control.font != ControlFont::None, needs->drawsText) << name;
        if (control.font != ControlFont::None) {
            const ui::FontLook& font = FontLookOf(control.font);
            EXPECT_FALSE(font.face.empty()) << name;
            EXPECT_GT(font.points, 0) << name;
        }
    }
}

// A picture larger than its control would be cut.
TEST(MainWindowLayout, PicturesFitTheirControls) {
    for (const auto& control : MainWindowControls()) {
        if (const auto* picture = std::get_if<ui::PictureLook>(&control.look)) {
            const std::string name(control.name.begin(), control.name.end());
            EXPECT_LE(picture->size, control.rect.width) << name;
            EXPECT_LE(picture->size, control.rect.height) << name;
        }
    }
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
