#pragma once
// The Win32 side of a dialog's window: the template handed to the dialog manager as a
// DLGTEMPLATEEX and run with DialogBoxIndirectParamW. The window exists only while the dialog
// runs; what the program sets before (texts, fonts, masks, the caption) is kept and given to
// the window when it is made, and the texts are kept again when it goes.

#include "platform/gui/dialog_window.h"
#include "platform/gui/native_dialog.h"

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>

namespace cuentas::gui {

class Win32Dialog : public NativeDialog {
public:
    Win32Dialog(const DialogTemplate& dialogTemplate, Win32Dialog* owner, Handlers handlers);
    ~Win32Dialog() override;

    // The dialog's window while it runs; nullptr otherwise.
    HWND window() const { return m_window; }

    int exec() override;
    void show() override;
    std::optional<std::uint32_t> openFailure() const override { return m_openFailure; }
    void done(int result) override;
    std::string caption() const override;
    void setCaption(const std::string& caption) override;
    bool classicKeys() const override { return m_classicKeys; }
    void setClassicKeys(bool on) override { m_classicKeys = on; }
    std::string text(int id) const override;
    void setText(int id, const std::string& text) override;
    void setEditMask(int id, const std::string& mask) override;
    void setFont(int id, const NativeFont& font, bool redraw) override;
    std::string accessibleName(int id) const override;
    void setAccessibleName(int id, const std::string& name) override;

private:
    struct ControlState {
        ControlClass controlClass = ControlClass::Static;
        std::string text;
        std::optional<NativeFont> font;
        std::string mask;
        std::string accessibleName;
    };

    static INT_PTR CALLBACK dialogProcedure(HWND window, UINT message, WPARAM w, LPARAM l);
    static LRESULT CALLBACK editProcedure(HWND edit, UINT message, WPARAM w, LPARAM l, UINT_PTR id,
                                          DWORD_PTR self);
    INT_PTR handle(UINT message, WPARAM w, LPARAM l);
    void initialize(HWND window);
    void keepTexts();
    void command(int id, int code, HWND control);
    void enterPressed();
    void focusChanged(int id, bool gotFocus);
    // The edit's answer to a typed character: nullopt to refuse it, else the character to put.
    std::optional<wchar_t> typed(HWND edit, int id, wchar_t character) const;
    // TRUE when the paste was dealt with here (taken by the dialog, cut, or refused).
    bool paste(HWND edit, int id);
    HFONT fontFor(const NativeFont& font);
    void applyFont(int id, bool redraw);
    void applyMask(int id);

    DialogTemplate m_template;
    Win32Dialog* m_owner;
    Handlers m_handlers;
    std::map<int, ControlState> m_controls;
    std::string m_caption;
    bool m_classicKeys = false;
    bool m_modal = true;
    HWND m_window = nullptr;
    bool m_ending = false;
    bool m_made = false; // the system made the window and its controls
    std::optional<std::uint32_t> m_openFailure;
    bool m_handlingPaste = false;
    int m_focusedEdit = 0; // the edit last reported as having gained the focus
    std::vector<std::pair<NativeFont, HFONT>> m_fonts;
};

// The window of a DIALOGWINDOW while it runs; nullptr otherwise.
HWND windowOf(const DialogWindow& dialog);

// The next dialog shown is closed at once, as its close box would (gui::Toolkit).
void closeFirstDialogWhenShown();

} // namespace cuentas::gui
