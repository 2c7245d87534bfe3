#include "app/form_main.hpp"

namespace ludrin::app {

void TFormMain::btnInstallaBaseClick() {
    // Not built yet.
}

} // namespace ludrin::app
