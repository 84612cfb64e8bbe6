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

#include <optional>
#include <string>

namespace cuentas {
namespace {

// The exit code of a start refused before anything is read or written, as for a missing
// display.
constexpr int kCannotStart = 2;

// The table is read from the working directory, the log and the transfer file are written
// under the program's folder: a backslash in one of their names would send all of them to
// the folders that name reads as inside the program.
std::optional<std::string> unnameableFolder() {
    OperatingSystem& system = operatingSystem();
    const std::string program = system.executablePath();
    if (std::optional<std::string> fault = backslashFault(program)) {
        return "cannot run from " + program + ": " + *fault;
    }
    const std::string directory = system.currentDirectory();
    if (std::optional<std::string> fault = backslashFault(directory + "/")) {
        return "cannot run in the working directory " + directory + ": " + *fault;
    }
    return std::nullopt;
}

} // namespace

void declareAllClasses() {
    declareTableClasses();
    gui::declareGuiClasses();
    declareErrorClass();
    declareLogFileClass();
    declareAccountDialog();
    declareApplicationClass();
}

int runApplication() {
    if (std::optional<std::string> refusal = unnameableFolder()) {
        operatingSystem().writeStandardError("cuentas: " + *refusal + ".\n");
        if (gui::hasDisplay()) {
            gui::showMessageBox(*refusal + ".", "cuentas", kMessageBoxOk | kMessageBoxIconError);
        }
        return kCannotStart;
    }
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
