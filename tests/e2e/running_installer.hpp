#pragma once
// A test that starts the real installer and waits for its main window.

#include "app/main_window_layout.hpp"
#include "e2e/installer_driver.hpp"
#include "support/test_arguments.hpp"

#include <gtest/gtest.h>

#include <memory>

namespace ludrin::e2e {

class RunningInstaller : public ::testing::Test {
protected:
    void SetUp() override {
        installer_ = std::make_unique<InstallerProcess>(ludrin::testing::Argument(L"installer"));
        window_ = installer_->MainWindow();
        ASSERT_NE(window_, nullptr) << "the installer's main window did not appear";
    }

    HWND Control(app::ControlId id) const { return FindControl(window_, static_cast<int>(id)); }

    std::unique_ptr<InstallerProcess> installer_;
    HWND window_ = nullptr;
};

} // namespace ludrin::e2e
