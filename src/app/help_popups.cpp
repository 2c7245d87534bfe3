#include "app/form_main.hpp"

namespace ludrin::app {

void TFormMain::HideHelpBalloons() {
    // No balloons yet.
}

void TFormMain::btnHelpBaseClick() {}

void TFormMain::btnHelpCompleteClick() {}

} // namespace ludrin::app
