#pragma once
// The window of a DIALOGWINDOW as the toolkit makes it: a dialog built from a template, whose
// controls are reached by their template ids. Each toolkit has a side of its own (qt/, win32/),
// chosen by the build; the runtime classes above speak only to this interface. Texts are
// Windows-1252 on this side; each toolkit converts them at its own boundary.

#include "platform/gui/dialog_template.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace cuentas::gui {

// The result when the close box or Escape ends a dialog.
inline constexpr int kClosedDialogResult = 2;

// A font for a control: the face, size and weight to make, and the underline switch.
struct NativeFont {
    FontDefinition definition;
    bool underline = false;
};

class NativeDialog {
public:
    // What the window reports, by control id. None of them is called while the dialog is
    // being ended, or while a refused paste is being dealt with.
    struct Handlers {
        // An edit gained (true) or lost the focus.
        std::function<void(int id, bool gotFocus)> editFocusChanged;
        // A push button was pressed (by mouse, Space, or Enter with classic keys).
        std::function<void(int id)> buttonClicked;
        // Text pasted into an edit that its mask or length would refuse whole, in Windows-1252
        // with Unicode's invisible format characters left out: TRUE when the handler took it,
        // and the edit then inserts nothing.
        std::function<bool(int id, const std::string& text)> editPasteRefused;
        // The dialog ended with this result.
        std::function<void(int result)> finished;
    };

    virtual ~NativeDialog() = default;

    // Runs the dialog modally until it is ended; its result.
    virtual int exec() = 0;
    // Shows a modeless dialog and returns at once.
    virtual void show() = 0;
    // After exec or show: when the system could not make the window at all, its error code
    // (0 when it gave none); nothing when the window was made.
    virtual std::optional<std::uint32_t> openFailure() const { return std::nullopt; }
    virtual void done(int result) = 0;

    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
    // With classic keys Enter in an edit moves on like Tab, and Enter on a push button
    // presses it; without them Enter presses the default button.
    virtual bool classicKeys() const = 0;
    virtual void setClassicKeys(bool on) = 0;

    // The text of an edit, or the caption of a button or static text.
    virtual std::string text(int id) const = 0;
    virtual void setText(int id, const std::string& text) = 0;
    // The mask an edit admits typed and pasted text by; its length is the edit's limit. The
    // empty mask admits everything.
    virtual void setEditMask(int id, const std::string& mask) = 0;
    // The control keeps the position and size of the template.
    virtual void setFont(int id, const NativeFont& font, bool redraw) = 0;
    // The name a screen reader gives the control.
    virtual std::string accessibleName(int id) const = 0;
    virtual void setAccessibleName(int id, const std::string& name) = 0;
};

// Whether the toolkit can make dialogs now (on Qt: a GUI application runs).
bool canCreateNativeDialogs();

// A dialog of the template, owned by `owner` when there is one.
std::unique_ptr<NativeDialog> createNativeDialog(const DialogTemplate& dialogTemplate,
                                                 NativeDialog* owner,
                                                 NativeDialog::Handlers handlers);

} // namespace cuentas::gui
