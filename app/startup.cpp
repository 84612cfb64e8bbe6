#include "app/app.h"

#include "dialog/dialog.h"
#include "errors/errors.h"
#include "logfile/logfile.h"
#include "platform/gui/gui.h"
#include "platform/gui/message_boxes.h"
#include "platform/os/os.h"
#include "platform/runtime/runtime.h"
#include "platform/sound/sound.h"
#include "platform/table/db_server.h"
#include "regional/regional.h"

namespace cuentas {

void declareAllClasses() {
    declareTableClasses();
    gui::declareGuiClasses();
    declareErrorClass();
    declareLogFileClass();
    declareAccountDialog();
    declareApplicationClass();
}

int runApplication() {
    // The desktop's boxes and tone, reached by the layers below through the seam.
    installDesktopServices(
        {gui::hasDisplay, gui::showMessageBox, gui::showErrorMessageBox, sound::playTone});
    startRuntime();
    declareAllClasses();
    // Until the error function is installed below, the runtime converts its error records
    // with the same routine, so that an error while the regional settings are read reaches
    // the error block instead of ending the process.
    setBuiltInErrorConversion(defErrorGenPointer());
    // The default error block comes first, and only then the regional settings, so that an
    // error while reading the locale already reaches the handler. A block installed before
    // (by an embedding program or a test) is left alone, and so are its settings.
    if (installDefaultErrorBlock()) {
        SETINTERNATIONAL(Value(windowsModeSymbol()));
    }
    installErrorConversion();

    Value app(CreateInstance(kApplicationClass));
    Send(app, kStart);
    return 0;
}

} // namespace cuentas
