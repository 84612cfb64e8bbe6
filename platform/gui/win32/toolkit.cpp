// The toolkit on Windows: the desktop is always there, and the dialog manager needs no start.
#include "platform/gui/toolkit.h"

#include "platform/gui/win32/win32_dialog.h"

namespace cuentas::gui {

struct Toolkit::State {};

Toolkit::Toolkit(int&, char**) : m_state(std::make_unique<State>()) {}

Toolkit::~Toolkit() = default;

bool Toolkit::isUp() const {
    return true;
}

void Toolkit::closeFirstDialogWhenShown() {
    gui::closeFirstDialogWhenShown();
}

} // namespace cuentas::gui
