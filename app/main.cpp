// The executable: checks for a display, brings the GUI toolkit up and runs the program.
#include "app/app.h"
#include "app/bank_table_read_ahead.h"
#include "platform/gui/display_probe.h"
#include "platform/os/operating_system.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

bool hasDisplay() {
    // An explicit platform choice (offscreen, vnc, ...) needs no display server.
    for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(variable);
        if (value && *value) {
            return true;
        }
    }
    return false;
}

std::string variable(const char* name) {
    return cuentas::operatingSystem().environmentVariable(name).value_or("");
}

// Whether the GUI toolkit will use an X display: asked for by name, or chosen by default
// where no Wayland display is offered.
bool usesXDisplay() {
    std::string platform = variable("QT_QPA_PLATFORM");
    if (!platform.empty()) {
        return platform == "xcb" || platform.starts_with("xcb:");
    }
    return variable("WAYLAND_DISPLAY").empty();
}

// For the start-up benchmark: closes the first dialog as soon as it is shown, as its close
// box would, so that the process times "start to dialog shown".
class CloseWhenShown : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (event->type() == QEvent::Show && dialog && dialog->isWindow()) {
            QTimer::singleShot(0, dialog, &QDialog::close);
            QCoreApplication::instance()->removeEventFilter(this);
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    if (!hasDisplay()) {
        std::string self = argc > 0 ? argv[0] : "cuentas";
        std::fprintf(stderr,
                     "cuentas: this program needs a graphical display, and none was found "
                     "(DISPLAY and WAYLAND_DISPLAY are not set).\n"
                     "Start it from a desktop session, or under a virtual display:\n"
                     "    xvfb-run -a %s\n",
                     self.c_str());
        return 2;
    }
    // The toolkit aborts, with a core dump, when its X display does not answer: ask first,
    // and hold the question's connection until the toolkit has its own.
    std::optional<cuentas::gui::XDisplayProbe> probe;
    if (usesXDisplay()) {
        probe.emplace(variable("DISPLAY"));
    }
    if (probe && !probe->answers()) {
        std::string self = argc > 0 ? argv[0] : "cuentas";
        std::fprintf(stderr,
                     "cuentas: the graphical display \"%s\" (DISPLAY) does not answer.\n"
                     "Start it from a desktop session, or under a virtual display:\n"
                     "    xvfb-run -a %s\n",
                     variable("DISPLAY").c_str(), self.c_str());
        return 2;
    }
    // The bank table is read while the toolkit comes up; START takes the work over.
    cuentas::BankTableReadAhead readAhead(cuentas::kBankTableName);
    QApplication application(argc, argv);
    probe.reset();
    if (argc > 1 && std::strcmp(argv[1], "--exit-when-shown") == 0) {
        application.installEventFilter(new CloseWhenShown(&application));
    }
    return cuentas::runApplication();
}
