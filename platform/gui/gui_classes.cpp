#include "platform/gui/gui.h"

namespace cuentas::gui {

void declareGuiClasses() {
    declareResourceIdClass();
    declareHyperLabelClass();
    declareFontClass();
    declareFocusEventClass();
    declareDialogWindowClass();
    // Superclasses before their subclasses: a subclass finds its parent when declared.
    declareControlClass();
    declareControlClasses();
}

} // namespace cuentas::gui
