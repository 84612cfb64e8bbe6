#pragma once
// The Qt side of a dialog's window: a TemplateDialog behind the NativeDialog interface. Tests
// of the Qt side reach the widgets through it.

#include "platform/gui/dialog_window.h"
#include "platform/gui/native_dialog.h"
#include "platform/gui/qt/template_dialog.h"

#include <memory>

namespace cuentas::gui {

class QtDialog : public NativeDialog {
public:
    QtDialog(const DialogTemplate& dialogTemplate, QWidget* parent, Handlers handlers);
    ~QtDialog() override;

    TemplateDialog* widget() const { return m_dialog.get(); }

    int exec() override;
    void show() override;
    void done(int result) override;
    std::string caption() const override;
    void setCaption(const std::string& caption) override;
    bool classicKeys() const override;
    void setClassicKeys(bool on) override;
    std::string text(int id) const override;
    void setText(int id, const std::string& text) override;
    void setEditMask(int id, const std::string& mask) override;
    void setFont(int id, const NativeFont& font, bool redraw) override;
    std::string accessibleName(int id) const override;
    void setAccessibleName(int id, const std::string& name) override;

private:
    std::unique_ptr<TemplateDialog> m_dialog;
    Handlers m_handlers;
};

// The Qt dialog of a DIALOGWINDOW; nullptr when it has none.
TemplateDialog* templateDialogOf(const DialogWindow& dialog);

} // namespace cuentas::gui
