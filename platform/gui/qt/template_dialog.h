#pragma once
// A Qt dialog built from a dialog template: every control created in template order at its
// pixel rectangle, with the template's fonts, texts and styles. It reports focus changes of
// its edits and presses of its buttons by control id; it knows nothing of runtime objects.

#include "platform/gui/dialog_template.h"
#include "platform/gui/dialog_units.h"
#include "platform/gui/native_dialog.h"
#include "platform/gui/window_styles.h"

#include <QDialog>
#include <functional>
#include <map>

namespace cuentas::gui {

class TemplateDialog : public QDialog {
    Q_OBJECT
public:
    // The result when the close box or Escape ends the dialog.
    static constexpr int kClosedResult = kClosedDialogResult;

    TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* parent);

    const DialogTemplate& dialogTemplate() const { return m_template; }
    BaseUnits baseUnits() const { return m_units; }
    // The widget of a template control (QLineEdit, QPushButton or QLabel), or nullptr.
    QWidget* control(int id) const;
    // What the style of a template control asks for (a default look for an unknown id).
    ControlLook look(int id) const;

    // With classic keys Enter in an edit moves on like Tab, and Enter on a push button
    // presses it; without them Enter presses the default button.
    void setClassicKeys(bool on) { m_classicKeys = on; }
    bool classicKeys() const { return m_classicKeys; }

    // Text pasted into an edit that its mask or length would refuse whole goes to the handler
    // with the edit's id; TRUE when the handler has dealt with it (nothing is inserted).
    using RefusedPasteHandler = std::function<bool(int id, const QString& text)>;
    void setRefusedPasteHandler(RefusedPasteHandler handler) {
        m_refusedPaste = std::move(handler);
    }

    // TRUE from the moment the dialog is being ended until it is shown again.
    bool isEnding() const { return m_ending; }

    void done(int result) override;
    // The close box and Escape end the dialog with kClosedResult.
    void reject() override;

signals:
    // An edit gained (gotFocus true) or lost the focus.
    void editFocusChanged(int id, bool gotFocus);
    // A push button was pressed (by mouse release, Space, or Enter with classic keys).
    void buttonClicked(int id);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* createControl(const ControlTemplate& control, const ControlLook& look);
    void placeOnScreen();

    DialogTemplate m_template;
    BaseUnits m_units;
    std::map<int, QWidget*> m_controls;
    std::map<QObject*, int> m_edits;
    QObject* m_focusedEdit = nullptr; // the edit last reported as having gained the focus
    RefusedPasteHandler m_refusedPaste;
    bool m_handlingPaste = false;
    bool m_classicKeys = false;
    bool m_ending = false;
    bool m_placed = false;
};

} // namespace cuentas::gui
