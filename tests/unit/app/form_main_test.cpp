#include "app/form_main.hpp"
#include "app/form_texts.hpp"
#include "platform/text/utf.hpp"
#include "support/recording_view.hpp"
#include "support/temp_dir.hpp"

#include <gtest/gtest.h>

#include <ctime>

namespace ludrin::app {
namespace {

using ludrin::testing::ScopedEnv;
using ludrin::testing::TempDir;

using ludrin::testing::RecordingView;

TEST(FormTexts, VersionLabel) {
    const struct {
        const wchar_t* fileVersion;
        const wchar_t* label;
    } cases[] = {
        {L"1.0.0.0", L"Versione: 1.0  Build: 1.0.0.0"},
        {L"", L"Versione:   Build: "},
        {L"Updated at run-time", L"Versione: Upd  Build: Updated at run-time"},
        {L"2", L"Versione: 2  Build: 2"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ComposeVersionTexts(c.fileVersion).Label, c.label)
            << text::WideToUtf8(c.fileVersion);
    }
    const auto texts = ComposeVersionTexts(L"1.0.0.0");
    EXPECT_EQ(texts.Build, L"Build: 1.0.0.0");
    EXPECT_EQ(texts.VERSIONE, L"Versione: 1.0");
}

TEST(FormTexts, FooterHoldsTheYear) {
    EXPECT_EQ(CopyrightText(L"2026"), L"Copyright \u00A9 2026 - Suite Brenvoss");
}

// The year on the user's own calendar.
int YearNow() {
    const std::time_t now = std::time(nullptr);
    return std::localtime(&now)->tm_year + 1900;
}

TEST(FormTexts, DamagedInstallerReasonStaysOnOneLine) {
    EXPECT_EQ(DamagedInstallerText(L"stored file 2 at offset 90:\r\nStream read error\n"),
              L"ERRORE- Il programma di installazione \u00E8 danneggiato.\r\n\r\n"
              L"stored file 2 at offset 90:  Stream read error ");
}

TEST(FormMain, FormCreateResolvesRootsAndSetsTheLabels) {
    TempDir home;
    ScopedEnv homeEnv("HOME", home.Path().string());
    ScopedEnv config("XDG_CONFIG_HOME", "");
    ScopedEnv data("XDG_DATA_HOME", "");
    ScopedEnv tmp("TMPDIR", (home / "tmp").string());
    const auto homeText = text::Utf8ToWide(home.Path().string());

    RecordingView view;
    TFormMain form(view);
    EXPECT_TRUE(form.SysSystemInfo.Retrieved());
    form.FormCreate();

    EXPECT_EQ(form.UserTempDir, homeText + L"/tmp/");
    EXPECT_EQ(form.UserMyDocuments, homeText + L"/Documents");
    EXPECT_EQ(form.UserDesktopDirectory, homeText + L"/Desktop");
    EXPECT_EQ(form.PathBASSDll, homeText + L"/.local/share");
    EXPECT_EQ(form.AnnoAttuale, std::to_wstring(YearNow()));
    EXPECT_EQ(form.TrueBuild, L"1.0.0.0");
    EXPECT_EQ(view.labels[FormLabel::LabelVersion], L"Versione: 1.0  Build: 1.0.0.0");
    EXPECT_EQ(view.labels[FormLabel::LabelTitle], L"Installazione Ludrin");
    EXPECT_EQ(view.labels[FormLabel::LabelPanelCopyright],
              L"Copyright \u00A9 " + std::to_wstring(YearNow()) + L" - Suite Brenvoss");
    EXPECT_EQ(form.Layout().PlayerProgram(), homeText + L"/Documents/Ludrin/Ludrin.exe");
}

TEST(FormMain, CloseButtonClosesTheWindow) {
    RecordingView view;
    TFormMain form(view);
    form.btnCloseClick();
    EXPECT_EQ(view.closed, 1);
}

} // namespace
} // namespace ludrin::app
