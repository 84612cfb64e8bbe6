#pragma once
// Whether an X display answers, asked before the GUI toolkit starts: the toolkit aborts the
// process, with a core dump, when its display does not answer.

#include <string>

struct xcb_connection_t;

namespace cuentas::gui {

// A connection to the X display `name` (as DISPLAY gives it; empty: DISPLAY itself), tried
// once at the address the name gives. Keep it until the toolkit has connected: an X server
// whose last client leaves resets itself, and a connection tried during the reset fails.
class XDisplayProbe {
public:
    explicit XDisplayProbe(const std::string& name);
    ~XDisplayProbe();
    XDisplayProbe(const XDisplayProbe&) = delete;
    XDisplayProbe& operator=(const XDisplayProbe&) = delete;

    bool answers() const { return m_answers; }

private:
    xcb_connection_t* m_connection = nullptr;
    bool m_answers = false;
};

} // namespace cuentas::gui
