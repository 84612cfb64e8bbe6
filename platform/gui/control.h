#pragma once
// CONTROL: the runtime object of one control of a dialog, bound by its id to the control the
// dialog's window built from its template. The dialog owns its controls; a control only points
// back.

#include "platform/gui/dialog_template.h"
#include "platform/gui/native_dialog.h"
#include "platform/runtime/object.h"

namespace cuentas::gui {

class DialogWindow;

class Control : public Object {
public:
    using Object::Object;

    // INIT (owner dialog, RESOURCEID of the control id): binds the object to its widget.
    // A wrong owner, an id the template lacks or a control of another kind raises an error.
    void init(const Value& owner, const Value& resourceId);

    int id() const { return m_id; }
    // The owner dialog, or nullptr once it is gone.
    DialogWindow* owner() const;
    Value ownerValue() const;

    const Value& hyperLabel() const { return m_hyperLabel; }
    // A value that is neither nil nor a HYPERLABEL is refused.
    void setHyperLabel(const Value& hyperLabel);
    Symbol nameSymbol() const;

    // The name a screen reader gives the control (Windows-1252). A template names edits and
    // displays by the fixed text before them; a program may name a control otherwise.
    std::string accessibleName() const;
    void setAccessibleName(const std::string& name);

    // Gives the control a FONT; its position and size stay as the template set them.
    // `redraw` repaints at once; otherwise the new font shows with the next paint.
    void setFont(const Value& font, bool redraw);
    const Value& font() const { return m_font; }

protected:
    // The template class this kind of control binds to.
    virtual ControlClass controlClass() const = 0;
    // The window of the owner dialog, or nullptr once it is gone or when the control is unbound.
    NativeDialog* window() const;

private:
    int m_id = 0;
    std::weak_ptr<Object> m_owner;
    Value m_hyperLabel;
    Value m_font;
};

// Declares CONTROL with INIT, FONT, and the properties HYPERLABEL, NAMESYM, FONT, ID, OWNER,
// ACCESSIBLENAME.
void declareControlClass();

} // namespace cuentas::gui
