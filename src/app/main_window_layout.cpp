#include "app/main_window_layout.hpp"

#include <algorithm>
#include <array>

namespace ludrin::app {
namespace {

using enum ControlId;
using K = ControlKind;
using F = ControlFont;
using ui::Artwork;
using ui::GlowButtonLook;
using ui::Label3DLook;
using ui::PanelLook;
using ui::PictureLook;

constexpr std::array<ControlDef, 20> kControls{{
    {PanelTop, L"PanelTop", Form, K::Panel, {0, 0, 775, 34}, 0, L"", L"", F::None, PanelLook{}},
    {LabelTitle,
     L"LabelTitle",
     PanelTop,
     K::Label3D,
     {1, 1, 773, 32},
     -1,
     L"Installazione Ludrin",
     L"",
     F::Title,
     Label3DLook{.colour = ui::kRed}},
    // The design width (63) cannot hold "Versione: 1.0  Build: 1.0.0.0": the label grows to
    // the right to fit its text, as an auto-sized label does.
    {LabelVersion,
     L"LabelVersion",
     PanelTop,
     K::Label3D,
     {630, 16, 63, 16},
     -1,
     L"Versione 1.0",
     L"",
     F::Italic,
     Label3DLook{.colour = ui::kMaroon, .centred = false, .autoSize = true}},
    {PanelLeft,
     L"PanelLeft",
     Form,
     K::Panel,
     {631, 34, 144, 275},
     1,
     L"",
     L"",
     F::None,
     PanelLook{}},
    {ReflectionImage,
     L"ReflectionImage",
     PanelLeft,
     K::Reflection,
     {12, 4, 128, 267},
     -1,
     L"",
     L"",
     F::None,
     PictureLook{.artwork = Artwork::Emblem, .size = 128, .reflectionStart = 1.0}},
    {btnDisinstalla,
     L"btnDisinstalla",
     PanelLeft,
     K::GlowButton,
     {22, 153, 106, 46},
     1,
     L"Disinstalla",
     L"Disinstalla Ludrin",
     F::Normal,
     GlowButtonLook{.image = Artwork::Uninstall, .spacing = 1}},
    {btnClose,
     L"btnClose",
     PanelLeft,
     K::GlowButton,
     {22, 217, 106, 46},
     0,
     L"Esce",
     L"Chiude Installazione",
     F::Normal,
     GlowButtonLook{.image = Artwork::Exit, .spacing = 8}},
    {PanelMain, L"PanelMain", Form, K::Panel, {0, 34, 631, 275}, 2, L"", L"", F::None, PanelLook{}},
    {Panel1,
     L"Panel1",
     PanelMain,
     K::Panel,
     {1, 1, 629, 132},
     3,
     L"",
     L"",
     F::None,
     PanelLook{.bevel = ui::PanelBevel::RaisedWithLoweredInner}},
    {reMsg, L"reMsg", Panel1, K::RichText, {7, 7, 615, 118}, 0, L"", L"", F::RichText, {}},
    {Panel2,
     L"Panel2",
     Panel1,
     K::Panel,
     {20, 16, 49, 49},
     1,
     L"",
     L"",
     F::None,
     PanelLook{.fill = ui::kSilver}},
    {Image1,
     L"Image1",
     Panel2,
     K::Picture,
     {9, 8, 32, 32},
     -1,
     L"",
     L"",
     F::None,
     PictureLook{.artwork = Artwork::Emblem, .size = 32}},
    {btnInstallaBase,
     L"btnInstallaBase",
     PanelMain,
     K::GlowButton,
     {13, 139, 563, 45},
     0,
     L"Installa Ludrin Completo delle Funzionalit\u00E0 di Base (NON richiede diritti "
     L"amministrativi)",
     L"Installa Ludrin con Funzionalit\u00E0 di Base (Senza Diritti Amministrativi)",
     F::Bold,
     GlowButtonLook{.image = Artwork::InstallBase, .spacing = 5, .textColour = ui::kMaroon}},
    {btnInstallaComplete,
     L"btnInstallaComplete",
     PanelMain,
     K::GlowButton,
     {13, 198, 563, 45},
     1,
     L"Installa Funzionalit\u00E0 Avanzate (Filtri, Codec e Plugin aggiuntivi) (RICHIEDE "
     L"diritti amministrativi)",
     L"Installa Funzionalit\u00E0 Avanzate (Richiede Diritti Amministrativi)",
     F::Bold,
     GlowButtonLook{.image = Artwork::InstallAdvanced, .spacing = 5, .textColour = ui::kMaroon}},
    // The help buttons: image only, on no face until the pointer comes.
    {btnHelpBase,
     L"btnHelpBase",
     PanelMain,
     K::GlowButton,
     {582, 141, 43, 44},
     4,
     L"",
     L"Info Installazione Ludrin Completo delle Funzionalit\u00E0 di Base",
     F::Normal,
     GlowButtonLook{.image = Artwork::Help, .spacing = 10, .transparent = true}},
    {btnHelpComplete,
     L"btnHelpComplete",
     PanelMain,
     K::GlowButton,
     {582, 195, 43, 44},
     5,
     L"",
     L"Info Installazione Funzionalit\u00E0 Avanzate",
     F::Normal,
     GlowButtonLook{.image = Artwork::Help, .spacing = 10, .transparent = true}},
    {PanelCopyright,
     L"PanelCopyright",
     PanelMain,
     K::Panel,
     {1, 249, 629, 25},
     2,
     L"",
     L"",
     F::None,
     PanelLook{}},
    {Panel3,
     L"Panel3",
     PanelCopyright,
     K::Panel,
     {1, 1, 376, 23},
     0,
     L"",
     L"",
     F::None,
     PanelLook{}},
    {ProgressBar1,
     L"ProgressBar1",
     Panel3,
     K::ProgressBar,
     {1, 1, 374, 21},
     0,
     L"",
     L"",
     F::None,
     {}},
    {LabelPanelCopyright,
     L"LabelPanelCopyright",
     PanelCopyright,
     K::Label3D,
     {377, 1, 251, 23},
     -1,
     L"",
     L"",
     F::Italic,
     Label3DLook{.colour = ui::kBlack}},
}};

static_assert(static_cast<int>(ControlFont::RichText) + 1 == kControlFontCount);

// By ControlFont; None has no entry of its own.
constexpr std::array<ui::FontLook, kControlFontCount> kFonts{{
    {},
    {.face = L"Tahoma", .points = 8},
    {.face = L"Tahoma", .points = 12, .bold = true},
    {.face = L"Tahoma", .points = 8, .italic = true},
    {.face = L"Tahoma", .points = 8, .bold = true},
    {.face = L"MS Sans Serif", .points = 8, .bold = true, .ansiCharset = true},
}};

constexpr std::wstring_view kIntroduction =
    L"\r\n"
    L"Ludrin \u00E8 il modulo della <Suite Brenvoss> attraverso il quale \u00E8\r\n"
    L"possibile visualizzare e consultare il contenuto di un intero fascicolo multimediale.\r\n"
    L"\r\n"
    L"Possiede avanzate funzionalit\u00E0 di ricerca su qualsiasi documento contenente testo\r\n"
    L"e mostra la sincronizzazione Testo/Audio di tutti i documenti previamente "
    L"sincronizzati.\r\n"
    L"\r\n"
    L"Prima di procedere con l'installazione leggere l'aiuto presente accanto ai relativi "
    L"pulsanti.\r\n";

} // namespace

std::span<const ControlDef> MainWindowControls() {
    return kControls;
}

const ui::FontLook& FontLookOf(ControlFont font) {
    return kFonts[static_cast<std::size_t>(font)];
}

const ControlDef* FindControl(ControlId id) {
    for (const auto& control : kControls) {
        if (control.id == id) {
            return &control;
        }
    }
    return nullptr;
}

namespace {

void AddTabStops(ControlId parent, std::vector<ControlId>& sequence) {
    std::vector<const ControlDef*> children;
    for (const auto& control : kControls) {
        if (control.parent == parent && control.tabOrder >= 0) {
            children.push_back(&control);
        }
    }
    std::ranges::stable_sort(children, {}, &ControlDef::tabOrder);
    for (const ControlDef* child : children) {
        // reMsg is disabled and the progress bar takes no focus: only the buttons stop Tab.
        if (child->kind == ControlKind::GlowButton) {
            sequence.push_back(child->id);
        } else if (child->kind == ControlKind::Panel) {
            AddTabStops(child->id, sequence);
        }
    }
}

} // namespace

std::wstring_view WindowTextOf(const ControlDef& spec) {
    return spec.kind == ControlKind::GlowButton && spec.text.empty() ? spec.toolTip : spec.text;
}

std::vector<ControlId> TabSequence() {
    std::vector<ControlId> sequence;
    AddTabStops(Form, sequence);
    return sequence;
}

std::wstring_view IntroductionText() {
    return kIntroduction;
}

} // namespace ludrin::app
