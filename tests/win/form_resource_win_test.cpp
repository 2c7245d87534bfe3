// The installer's own reading of its form resource, on an executable that carries it in two
// languages (this test program, built with fixtures/form_languages.rc).

#include "app/win32/form_resource_win32.hpp"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace ludrin::win32 {
namespace {

TEST(FormResourceWin, TheFormIsReadInItsOneLanguageWhateverTheUserSettings) {
    const LANGID settings[] = {MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN),
                               MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                               MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)};
    for (const LANGID language : settings) {
        SCOPED_TRACE(language);
        SetThreadUILanguage(language);
        SetThreadLocale(MAKELCID(language, SORT_DEFAULT));
        const auto form = FindFormResource(GetModuleHandleW(nullptr));
        ASSERT_TRUE(form);
        EXPECT_EQ(std::string(form->begin(), form->end()).substr(0, 7), "english");
    }
}

} // namespace
} // namespace ludrin::win32
