#pragma once
// The GUI toolkit for the life of the program. On Qt it is brought up only on a display that
// answers, since the toolkit itself ends the process, with a core dump, on one that does not;
// Windows always has its desktop.

#include <memory>

namespace cuentas::gui {

class Toolkit {
public:
    // Finds the display, asks whether it answers and brings the toolkit up on it. Where there
    // is none, or it does not answer within five seconds, says so and how to start the
    // program under a virtual display on the standard error stream, and the toolkit stays
    // down.
    Toolkit(int& argc, char** argv);
    ~Toolkit();
    Toolkit(const Toolkit&) = delete;
    Toolkit& operator=(const Toolkit&) = delete;

    bool isUp() const;
    // Closes the first dialog as soon as it is shown, as its close box would: start-up is
    // then timed, or checked, from the start of the process to the dialog shown.
    void closeFirstDialogWhenShown();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace cuentas::gui
