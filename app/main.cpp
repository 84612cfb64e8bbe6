// The executable: brings the GUI toolkit up and runs the program.
#include "app/app.h"
#include "platform/gui/toolkit.h"

#include <cstring>

int main(int argc, char** argv) {
    cuentas::gui::Toolkit toolkit(argc, argv);
    if (!toolkit.isUp()) {
        return 2; // no display to show the dialog on; the toolkit has said why
    }
    // The toolkit has taken its own arguments away.
    if (argc > 1 && std::strcmp(argv[1], "--exit-when-shown") == 0) {
        toolkit.closeFirstDialogWhenShown();
    }
    return cuentas::runApplication();
}
