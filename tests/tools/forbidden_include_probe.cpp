// Must not compile: this library links only the runtime, so the GUI library's headers are not
// on its include path (test include_path_refuses_an_unlinked_library).
#include "platform/gui/gui.h"
