// The composition of the program: the one place that knows which window comes first.
#include "app/App.h"
#include "start/FrmSplash.h"

namespace tunevane {

void App::start() {
    m_forms.get<FrmSplash>().showModeless();
}

} // namespace tunevane
