#include "platform/gui/display_probe.h"

#include <xcb/xcb.h>

namespace cuentas::gui {

bool xDisplayAnswers(const std::string& name) {
    xcb_connection_t* connection = xcb_connect(name.empty() ? nullptr : name.c_str(), nullptr);
    bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}

} // namespace cuentas::gui
