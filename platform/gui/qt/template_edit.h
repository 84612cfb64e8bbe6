#pragma once
// A template's edit as a QLineEdit. Text pasted into it (by the paste keys or by the context
// menu's paste) that its mask or length would refuse whole is first offered to a handler,
// which may take it; typed text, and pasted text the edit admits, never reach the handler.

#include <QLineEdit>

#include <functional>

namespace cuentas::gui {

class TemplateEdit : public QLineEdit {
    Q_OBJECT
public:
    // TRUE when the handler has dealt with the text; the edit then inserts nothing of it.
    using RefusedPasteHandler = std::function<bool(const QString& text)>;

    TemplateEdit(const QString& text, QWidget* parent);

    void setRefusedPasteHandler(RefusedPasteHandler handler) {
        m_refusedPaste = std::move(handler);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void pasteFromClipboard();
    // TRUE when the handler took the text.
    bool offerRefusedPaste(const QString& pasted);
    // Whether the text, pasted where the cursor or the selection is, would be admitted whole.
    bool admits(const QString& pasted) const;

    RefusedPasteHandler m_refusedPaste;
};

} // namespace cuentas::gui
