#pragma once
// Whether an X display answers, asked before the GUI toolkit starts: the toolkit aborts the
// process, with a core dump, when its display does not answer, and waits forever on one that
// takes the connection and then says nothing.

#include <chrono>
#include <memory>
#include <string>

struct xcb_connection_t;

namespace cuentas::gui {

// A connection to the X display `name` (as DISPLAY gives it; empty: DISPLAY itself), tried
// once at the address the name gives, waited for no longer than `patience`. Keep it until the
// toolkit has connected: an X server whose last client leaves resets itself, and a connection
// tried during the reset fails.
class XDisplayProbe {
public:
    enum class Outcome { Answers, Refuses, Silent };

    XDisplayProbe(const std::string& name, std::chrono::milliseconds patience);
    ~XDisplayProbe();
    XDisplayProbe(const XDisplayProbe&) = delete;
    XDisplayProbe& operator=(const XDisplayProbe&) = delete;

    // Answers: connected. Refuses: there is no display, or it turned the connection down.
    // Silent: it took the connection but did not answer within the patience.
    Outcome outcome() const { return m_outcome; }

private:
    struct Attempt;
    std::shared_ptr<Attempt> m_attempt;
    Outcome m_outcome = Outcome::Refuses;
};

} // namespace cuentas::gui
