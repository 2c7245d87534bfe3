#include "app/form_main.hpp"

namespace ludrin::app {

void TFormMain::btnDisinstallaClick() {
    // Not built yet.
}

} // namespace ludrin::app
