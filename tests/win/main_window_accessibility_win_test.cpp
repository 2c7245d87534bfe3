// The real main window in this process, read as a screen reader reads it: through the
// accessible objects the system makes for each control (across processes Wine's proxy for
// them fails, so the window lives here).
#include "app/main_window_layout.hpp"
#include "app/win32/form_resource_win32.hpp"
#include "app/win32/main_window.hpp"
#include "platform/text/utf.hpp"
#include "support/test_arguments.hpp"
#include "ui/hints/win32/balloon_window_win32.hpp"

#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ludrin::win32 {
namespace {

using app::ControlId;
using app::ControlKind;

struct Accessible {
    std::wstring name;
    long role = 0;
    long state = 0;
};

// Name and role of the window's client object, as a screen reader asks for them.
std::optional<Accessible> ReadAccessible(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))) ||
        object == nullptr) {
        return std::nullopt;
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    Accessible result;
    BSTR name = nullptr;
    if (object->get_accName(self, &name) == S_OK && name != nullptr) {
        result.name.assign(name, SysStringLen(name));
        SysFreeString(name);
    }
    VARIANT role;
    VariantInit(&role);
    if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) {
        result.role = role.lVal;
    }
    VARIANT state;
    VariantInit(&state);
    if (SUCCEEDED(object->get_accState(self, &state)) && state.vt == VT_I4) {
        result.state = state.lVal;
    }
    object->Release();
    return result;
}

std::wstring RoleText(long role) {
    wchar_t text[128]{};
    GetRoleTextW(static_cast<DWORD>(role), text, 128);
    return text;
}

void Report(std::wstring_view who, const Accessible& read) {
    std::cout << text::WideToUtf8(std::wstring(who)) << ": \"" << text::WideToUtf8(read.name)
              << "\" (" << text::WideToUtf8(RoleText(read.role)) << ")\n";
}

// Lets the window handle what its creation and a click queued.
void Pump() {
    MSG msg;
    for (int round = 0; round < 20; ++round) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

class MainWindowAccessibility : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        // The installer's own payload, read from the built executable as a data file.
        installer_ = LoadLibraryExW(testing::Argument(L"installer").c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(installer_, nullptr);
        const auto form = FindFormResource(installer_);
        ASSERT_TRUE(form.has_value());
        window_ = std::make_unique<MainWindow>(*form).release();
        ASSERT_TRUE(window_->Create(SW_SHOWNORMAL));
        Pump();
    }

    static void TearDownTestSuite() {
        delete window_;
        window_ = nullptr;
        FreeLibrary(installer_);
        CoUninitialize();
    }

    static HWND FindControlWindow(ControlId id) {
        struct Search {
            int id;
            HWND found;
        } search{static_cast<int>(id), nullptr};
        EnumChildWindows(
            window_->Handle(),
            [](HWND child, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                if (GetDlgCtrlID(child) == s->id) {
                    s->found = child;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    static inline HMODULE installer_ = nullptr;
    static inline MainWindow* window_ = nullptr;
};

TEST_F(MainWindowAccessibility, EveryFocusableControlHasANameAndIsFocusable) {
    const auto sequence = app::TabSequence();
    ASSERT_FALSE(sequence.empty());
    for (const ControlId id : sequence) {
        const app::ControlDef* spec = app::FindControl(id);
        ASSERT_NE(spec, nullptr);
        const std::string name = text::WideToUtf8(spec->name);
        const HWND control = FindControlWindow(id);
        ASSERT_NE(control, nullptr) << name;
        const auto read = ReadAccessible(control);
        ASSERT_TRUE(read.has_value()) << name << ": no accessible object";
        Report(spec->name, *read);
        EXPECT_FALSE(read->name.empty()) << name << " has no name";
        // A caption names its button; an image-only button is named by its hint.
        EXPECT_EQ(read->name, app::WindowTextOf(*spec)) << name;
        // Windows' proxy for buttons says push button; Wine's generic one says client.
        EXPECT_TRUE(read->role == ROLE_SYSTEM_PUSHBUTTON || read->role == ROLE_SYSTEM_CLIENT)
            << name << ": " << text::WideToUtf8(RoleText(read->role));
        EXPECT_NE(read->state & STATE_SYSTEM_FOCUSABLE, 0) << name << " is not focusable";
    }
}

TEST_F(MainWindowAccessibility, LabelsAreReadWithTheirTexts) {
    for (const auto& spec : app::MainWindowControls()) {
        if (spec.kind != ControlKind::Label3D) {
            continue;
        }
        const HWND label = FindControlWindow(spec.id);
        ASSERT_NE(label, nullptr);
        const auto read = ReadAccessible(label);
        ASSERT_TRUE(read.has_value()) << text::WideToUtf8(spec.name);
        Report(spec.name, *read);
        EXPECT_FALSE(read->name.empty()) << text::WideToUtf8(spec.name);
    }
}

TEST_F(MainWindowAccessibility, AnOpenBalloonIsReadWithItsMessage) {
    const HWND help = FindControlWindow(ControlId::btnHelpBase);
    ASSERT_NE(help, nullptr);
    SendMessageW(help, BM_CLICK, 0, 0);
    Pump();
    const HWND balloon =
        FindWindowExW(nullptr, nullptr, ui::hints::win32::BalloonWindowWin32::kClassName, nullptr);
    ASSERT_NE(balloon, nullptr) << "no balloon opened";
    ASSERT_TRUE(IsWindowVisible(balloon));
    const auto read = ReadAccessible(balloon);
    ASSERT_TRUE(read.has_value());
    Report(L"balloon", *read);
    wchar_t text[4096]{};
    GetWindowTextW(balloon, text, 4096);
    EXPECT_FALSE(read->name.empty());
    EXPECT_EQ(read->name, text);
    // Esce hides it with the window.
    SendMessageW(window_->Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindow(balloon) && IsWindowVisible(balloon)) << "the balloon outlived Alt+F4";
    EXPECT_FALSE(IsWindow(window_->Handle()));
}

} // namespace
} // namespace ludrin::win32
