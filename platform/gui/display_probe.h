#pragma once
// Whether an X display answers, asked before the GUI toolkit starts: the toolkit aborts the
// process, with a core dump, when its display does not answer.

#include <string>

namespace cuentas::gui {

// Whether the X display `name` (as DISPLAY gives it; empty: DISPLAY itself) accepts a
// connection now. Only the address the name gives is tried.
bool xDisplayAnswers(const std::string& name);

} // namespace cuentas::gui
