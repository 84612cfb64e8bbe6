#include "platform/gui/qt/template_dialog.h"

#include "platform/gui/accessible_names.h"
#include "platform/gui/qt/fonts.h"
#include "platform/gui/qt/qt_text.h"
#include "platform/gui/qt/screen.h"
#include "platform/gui/qt/template_edit.h"
#include "platform/gui/qt/template_label.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>

namespace cuentas::gui {
namespace {

constexpr std::uint32_t kDisabled = 0x08000000;

Qt::Alignment qtAlignment(Alignment alignment) {
    switch (alignment) {
    case Alignment::Center:
        return Qt::AlignHCenter;
    case Alignment::Right:
        return Qt::AlignRight;
    case Alignment::Left:
        return Qt::AlignLeft;
    }
    return Qt::AlignLeft;
}

Qt::WindowFlags flagsFor(const DialogLook& look) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
    if (look.caption) {
        flags |= Qt::WindowTitleHint;
    }
    if (look.systemMenu) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    if (look.minimizeBox) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    if (look.maximizeBox) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
    return flags;
}

} // namespace

TemplateDialog::TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent), m_template(dialogTemplate) {
    const DialogLook look = decodeDialogStyle(m_template.style);
    setWindowFlags(flagsFor(look));
    setWindowTitle(fromWindows1252(m_template.caption));

    // Without a font of its own the dialog is measured in the classic dialog face.
    FontDefinition fontDefinition = m_template.font;
    if (!(m_template.style & style::kDsSetFont)) {
        fontDefinition = FontDefinition{"MS Shell Dlg", 8};
    }
    setFont(toQFont(fontDefinition, screenProvider().dotsPerInch()));
    m_units = baseUnitsOf(font());

    const QRect client = toQRect(toPixels(m_template.rect, m_units));
    resize(client.size());
    if (look.fixedSize) {
        setFixedSize(client.size());
    }

    QWidget* previousTabStop = nullptr;
    for (const ControlTemplate& control : m_template.controls) {
        const ControlLook controlLook =
            decodeControlStyle(control.controlClass, control.style, control.extendedStyle);
        QWidget* widget = createControl(control, controlLook);
        widget->setGeometry(toQRect(toPixels(control.rect, m_units)));
        widget->setHidden(!controlLook.visible);
        widget->setEnabled(!(control.style & kDisabled));
        m_controls[control.id] = widget;
        if (controlLook.tabStop) {
            if (previousTabStop) {
                setTabOrder(previousTabStop, widget);
            }
            previousTabStop = widget;
        }
    }
    // Edits and displays are named for screen readers by the fixed texts before them.
    for (const auto& [id, name] : accessibleNamesFromTemplate(m_template)) {
        m_controls[id]->setAccessibleName(fromWindows1252(name));
    }
}

QWidget* TemplateDialog::createControl(const ControlTemplate& control, const ControlLook& look) {
    const QString text = fromWindows1252(control.text);
    const Qt::FocusPolicy focusable = look.tabStop ? Qt::StrongFocus : Qt::ClickFocus;
    switch (control.controlClass) {
    case ControlClass::Edit: {
        auto* edit = new TemplateEdit(text, this);
        edit->setRefusedPasteHandler([this, id = control.id](const QString& pasted) {
            if (!m_refusedPaste) {
                return false;
            }
            // A message about the paste takes the focus only for a moment; the user has not
            // left the field.
            const QScopedValueRollback<bool> handling(m_handlingPaste, true);
            return m_refusedPaste(id, pasted);
        });
        edit->setFrame(look.edge != Edge::None);
        edit->setAlignment(qtAlignment(look.alignment) | Qt::AlignVCenter);
        edit->setFocusPolicy(focusable);
        edit->installEventFilter(this);
        m_edits[edit] = control.id;
        return edit;
    }
    case ControlClass::Button: {
        auto* button = new QPushButton(text, this);
        // Buttons take the focus on a click everywhere, so the focus loss of the edit being
        // left is handled on the press, before the button's command runs on the release.
        button->setFocusPolicy(focusable);
        button->setAutoDefault(false);
        button->setDefault(look.defaultButton);
        connect(button, &QPushButton::clicked, this,
                [this, id = control.id] { emit buttonClicked(id); });
        return button;
    }
    case ControlClass::Static: {
        auto* label = new TemplateLabel(this);
        // Captions are shown as they are: a '<' in a name must never turn into markup.
        label->setTextFormat(Qt::PlainText);
        label->setText(text);
        label->setAlignment(qtAlignment(look.alignment) | Qt::AlignTop);
        label->setWordWrap(true);
        label->setFocusPolicy(Qt::NoFocus);
        switch (look.edge) {
        case Edge::Line:
            label->setFrameStyle(QFrame::Box | QFrame::Plain);
            label->setLineWidth(1);
            break;
        case Edge::Sunken:
            label->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
            break;
        case Edge::None:
            break;
        }
        return label;
    }
    }
    return new QWidget(this);
}

QWidget* TemplateDialog::control(int id) const {
    auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

ControlLook TemplateDialog::look(int id) const {
    const ControlTemplate* control = m_template.control(id);
    return control
               ? decodeControlStyle(control->controlClass, control->style, control->extendedStyle)
               : ControlLook{};
}

void TemplateDialog::done(int result) {
    m_ending = true;
    QDialog::done(result);
}

void TemplateDialog::reject() {
    done(kClosedResult);
}

bool TemplateDialog::eventFilter(QObject* watched, QEvent* event) {
    const bool in = event->type() == QEvent::FocusIn;
    if ((in || event->type() == QEvent::FocusOut) && !m_ending && !m_handlingPaste) {
        auto found = m_edits.find(watched);
        // A context menu of the edit takes the focus only for a moment; that is no change.
        // Qt may deliver a gain twice (on setFocus and on activation): report each change once.
        if (found != m_edits.end() &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason &&
            (m_focusedEdit == watched) != in) {
            m_focusedEdit = in ? watched : nullptr;
            emit editFocusChanged(found->second, in);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TemplateDialog::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (enter && plain && m_classicKeys) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        } else {
            focusNextPrevChild(true);
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TemplateDialog::showEvent(QShowEvent* event) {
    m_ending = false;
    m_focusedEdit = nullptr;
    QDialog::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        placeOnScreen();
        // The focus starts in the first tab stop of the template.
        for (const ControlTemplate& control : m_template.controls) {
            QWidget* widget = this->control(control.id);
            if (widget && widget->isEnabled() && !widget->isHidden() &&
                widget->focusPolicy() == Qt::StrongFocus) {
                widget->setFocus(Qt::TabFocusReason);
                break;
            }
        }
    }
}

void TemplateDialog::placeOnScreen() {
    const std::optional<QRect> area = screenProvider().availableArea(parentWidget());
    if (decodeDialogStyle(m_template.style).centered && area) {
        QRect frame = frameGeometry();
        frame.moveCenter(area->center());
        move(frame.topLeft());
        return;
    }
    // Otherwise the template's position counts from the owner's client area or the screen.
    QPoint origin = toQRect(toPixels(m_template.rect, m_units)).topLeft();
    if (parentWidget()) {
        origin = parentWidget()->mapToGlobal(origin);
    } else if (area) {
        origin += area->topLeft();
    }
    move(origin);
}

} // namespace cuentas::gui
