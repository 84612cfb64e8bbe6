#include "platform/gui/qt/template_edit.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QValidator>

namespace cuentas::gui {

TemplateEdit::TemplateEdit(const QString& text, QWidget* parent) : QLineEdit(text, parent) {}

void TemplateEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        // Control+Shift+Insert pastes the selection on X11, as QLineEdit does.
        const bool selection = event->key() == Qt::Key_Insert &&
                               event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier);
        const QString pasted = QGuiApplication::clipboard()->text(
            selection ? QClipboard::Selection : QClipboard::Clipboard);
        if (offerRefusedPaste(pasted)) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TemplateEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The menu's paste goes through the same door as the paste keys. The menu is QLineEdit's
    // own, which connects its paste action by name.
    for (QAction* action : menu->actions()) {
        if (disconnect(action, SIGNAL(triggered()), this, SLOT(paste()))) {
            connect(action, &QAction::triggered, this, &TemplateEdit::pasteFromClipboard);
        }
    }
    menu->popup(event->globalPos());
}

void TemplateEdit::pasteFromClipboard() {
    if (!offerRefusedPaste(QGuiApplication::clipboard()->text())) {
        paste();
    }
}

bool TemplateEdit::offerRefusedPaste(const QString& pasted) {
    if (!m_refusedPaste || isReadOnly() || pasted.isEmpty() || admits(pasted)) {
        return false;
    }
    return m_refusedPaste(pasted);
}

bool TemplateEdit::admits(const QString& pasted) const {
    QString candidate = text();
    int position = cursorPosition();
    if (hasSelectedText()) {
        position = selectionStart();
        candidate.remove(position, selectionLength());
    }
    candidate.insert(position, pasted);
    if (candidate.size() > maxLength()) {
        return false;
    }
    int cursor = position + static_cast<int>(pasted.size());
    return !validator() || validator()->validate(candidate, cursor) != QValidator::Invalid;
}

} // namespace cuentas::gui
