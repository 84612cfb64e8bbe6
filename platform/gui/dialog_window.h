#pragma once
// DIALOGWINDOW: a dialog built from a registered template. SHOW runs a modal dialog until
// ENDDIALOG or the close box ends it; edits report focus changes to EDITFOCUSCHANGE and pasted
// text their masks refuse to EDITPASTEREFUSED, and each push button calls the dialog method of
// its name. The window itself is the toolkit's (NativeDialog).

#include "platform/gui/dialog_template.h"
#include "platform/gui/native_dialog.h"
#include "platform/runtime/object.h"

#include <map>
#include <memory>
#include <vector>

namespace cuentas::gui {

class Control;

class DialogWindow : public Object {
public:
    explicit DialogWindow(const ClassInfo& classInfo);
    ~DialogWindow() override;

    // INIT (owner, RESOURCEID of the template, modal flag). An unknown template, or no GUI
    // application to show it in, raises an error and leaves the dialog without a window.
    void init(const Value& owner, const Value& resourceId, bool modal);

    // The toolkit's dialog; nullptr when INIT failed.
    NativeDialog* nativeDialog() const { return m_dialog.get(); }
    // The template the dialog was built from; nullptr when INIT failed.
    const DialogTemplate* dialogTemplate() const { return m_template; }
    bool isModal() const { return m_modal; }

    // Runs a modal dialog and returns its result code; shows a modeless one and returns nil.
    Value show();
    void endDialog(int result);
    // The code the dialog ended with, 0 until it has ended.
    int result() const { return m_result; }

    std::string caption() const;
    void setCaption(const std::string& caption);
    const Value& hyperLabel() const { return m_hyperLabel; }
    // A value that is neither nil nor a HYPERLABEL is refused.
    void setHyperLabel(const Value& hyperLabel);
    bool classicKeys() const;
    void setClassicKeys(bool on);

    // Called by a control's INIT: the dialog keeps the control for as long as it lives.
    void attach(ObjectRef control);
    // The control object bound to a template id, or nullptr.
    Control* controlById(int id) const;

private:
    void editFocusChanged(int id, bool gotFocus);
    void buttonClicked(int id);
    bool editPasteRefused(int id, const std::string& text);
    // TRUE, after raising the error, when the system would not make the window.
    bool reportOpenFailure();

    std::unique_ptr<NativeDialog> m_dialog;
    const DialogTemplate* m_template = nullptr;
    bool m_modal = true;
    int m_result = 0;
    Value m_hyperLabel;
    std::vector<ObjectRef> m_controls;
    std::map<int, Control*> m_byId;
};

// Declares DIALOGWINDOW: INIT, PREINIT, POSTINIT, SHOW, ENDDIALOG, EDITFOCUSCHANGE,
// EDITPASTEREFUSED, and the properties CAPTION, HYPERLABEL, NAMESYM, CLASSICKEYS, RESULT.
// EDITPASTEREFUSED (edit control, pasted text) is called when text pasted into an edit would
// break its mask or length, with the text's invisible formatting characters left out; a
// dialog that deals with the text answers TRUE, and the edit then inserts nothing. The
// inherited one answers FALSE: the edit refuses the paste as it would.
void declareDialogWindowClass();

} // namespace cuentas::gui
