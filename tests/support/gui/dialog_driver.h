#pragma once
// Drives a dialog of the GUI class library as a user does, on either side of it: keys into the
// control that has the focus, clicks on controls, pastes through the clipboard, and what the
// window shows. Qt's side sends QTest's events; Windows' side posts the window messages that
// the keyboard and the mouse would, through the dialog manager (under Wine with its null
// graphics driver, which needs no display). Controls are named by their template ids; texts
// are Windows-1252.

#include "platform/gui/dialog_units.h"
#include "platform/gui/dialog_window.h"
#include "platform/runtime/value.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace cuentas::testing {

class DialogDriver {
public:
    virtual ~DialogDriver() = default;

    // Shows the dialog modally; `actions` play the user inside its event loop once the dialog
    // is shown. A dialog the actions leave open is ended with -1 afterwards, and leftOpen()
    // tells so. The dialog's result.
    virtual int run(const std::function<void()>& actions) = 0;
    bool leftOpen() const { return m_leftOpen; }
    virtual bool isShown() const = 0;

    // Keys into the control that has the focus. `keys` are printable characters.
    virtual void type(std::string_view keys) = 0;
    virtual void tab() = 0;
    virtual void enter() = 0;
    virtual void keypadEnter() = 0;
    virtual void escape() = 0;
    virtual void space() = 0;
    // Control+A: the focused edit's whole text selected.
    virtual void selectAll() = 0;
    // End: the focused edit's cursor after its last character.
    virtual void end() = 0;

    // The left mouse button on a control: pressed and released, or one of the two.
    virtual void click(int id) = 0;
    virtual void press(int id) = 0;
    virtual void release(int id) = 0;
    // Text (UTF-8, as another program puts it there) on the clipboard, then Control+V into the
    // edit.
    virtual void paste(int id, std::string_view utf8) = 0;
    // The window's close box.
    virtual void closeBox() = 0;

    // What an edit holds, or what a button or static text shows.
    std::string text(int id) const;
    // A control's rectangle in the dialog's client area, while the dialog is shown.
    virtual gui::PixelRect rect(int id) const = 0;
    // The size of the dialog's client area, while it is shown.
    virtual gui::PixelRect clientRect() const = 0;
    // The id of the control that has the focus; 0 for none.
    virtual int focused() const = 0;

protected:
    explicit DialogDriver(gui::DialogWindow& dialog) : m_dialog(dialog) {}
    gui::DialogWindow& m_dialog;
    bool m_leftOpen = false;
};

inline std::string DialogDriver::text(int id) const {
    return m_dialog.nativeDialog() ? m_dialog.nativeDialog()->text(id) : std::string();
}

// The base units of a font at 96 dpi, measured by the toolkit's own font system (Qt's font
// metrics, or GDI's), apart from the dialog.
gui::BaseUnits measuredBaseUnits(const gui::FontDefinition& font);

// Brings the toolkit up for the test program (Qt: its one QApplication); harmless again.
void startGuiToolkit();

// A driver for the dialog, which must have a window (INIT succeeded).
std::unique_ptr<DialogDriver> driveDialog(const Value& dialog);

} // namespace cuentas::testing
