#include "app/form_main.hpp"

namespace ludrin::app {

void TFormMain::btnInstallaCompleteClick() {
    // Not built yet.
}

} // namespace ludrin::app
