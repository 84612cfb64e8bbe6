#include "platform/gui/display_probe.h"

#include <xcb/xcb.h>

namespace cuentas::gui {

XDisplayProbe::XDisplayProbe(const std::string& name)
    : m_connection(xcb_connect(name.empty() ? nullptr : name.c_str(), nullptr)),
      m_answers(xcb_connection_has_error(m_connection) == 0) {}

XDisplayProbe::~XDisplayProbe() {
    xcb_disconnect(m_connection); // also frees a connection that failed
}

} // namespace cuentas::gui
