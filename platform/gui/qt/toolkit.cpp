#include "platform/gui/toolkit.h"

#include "platform/gui/qt/display_probe.h"
#include "platform/os/operating_system.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QTimer>
#include <chrono>
#include <optional>
#include <string>

namespace cuentas::gui {
namespace {

// How long a display that took the connection may take to answer it. A display nearby answers
// in milliseconds, a forwarded one across a slow line within a second or two.
constexpr std::chrono::seconds kDisplayPatience{5};

std::string variable(const char* name) {
    return operatingSystem().environmentVariable(name).value_or("");
}

bool hasDisplay() {
    // An explicit platform choice (offscreen, vnc, ...) needs no display server.
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        if (!variable(name).empty()) {
            return true;
        }
    }
    return false;
}

// Whether the toolkit will use an X display: asked for by name, or chosen by default where
// no Wayland display is offered.
bool usesXDisplay() {
    std::string platform = variable("QT_QPA_PLATFORM");
    if (!platform.empty()) {
        return platform == "xcb" || platform.starts_with("xcb:");
    }
    return variable("WAYLAND_DISPLAY").empty();
}

void refuse(const std::string& why, const char* self) {
    operatingSystem().writeStandardError(
        "cuentas: " + why + ".\nStart it from a desktop session, or under a virtual display:\n" +
        "    xvfb-run -a " + self + "\n");
}

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

struct Toolkit::State {
    std::unique_ptr<QApplication> application;
};

Toolkit::Toolkit(int& argc, char** argv) : m_state(std::make_unique<State>()) {
    const char* self = argc > 0 ? argv[0] : "cuentas";
    if (!hasDisplay()) {
        refuse("this program needs a graphical display, and none was found (DISPLAY and "
               "WAYLAND_DISPLAY are not set)",
               self);
        return;
    }
    // The probe's connection is held until the toolkit has its own.
    std::optional<XDisplayProbe> probe;
    if (usesXDisplay()) {
        probe.emplace(variable("DISPLAY"), kDisplayPatience);
        const std::string display =
            "the graphical display \"" + variable("DISPLAY") + "\" (DISPLAY)";
        switch (probe->outcome()) {
        case XDisplayProbe::Outcome::Answers:
            break;
        case XDisplayProbe::Outcome::Refuses:
            refuse(display + " does not answer", self);
            return;
        case XDisplayProbe::Outcome::Silent:
            refuse(display + " took the connection but did not answer within " +
                       std::to_string(kDisplayPatience.count()) + " seconds",
                   self);
            return;
        }
    }
    m_state->application = std::make_unique<QApplication>(argc, argv);
}

Toolkit::~Toolkit() = default;

bool Toolkit::isUp() const {
    return m_state->application != nullptr;
}

void Toolkit::closeFirstDialogWhenShown() {
    if (QApplication* application = m_state->application.get()) {
        application->installEventFilter(new CloseWhenShown(application));
    }
}

} // namespace cuentas::gui
