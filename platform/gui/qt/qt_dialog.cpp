#include "platform/gui/qt/qt_dialog.h"

#include "platform/gui/qt/fonts.h"
#include "platform/gui/qt/picture_validator.h"
#include "platform/gui/qt/qt_text.h"
#include "platform/gui/qt/template_label.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace cuentas::gui {

QtDialog::QtDialog(const DialogTemplate& dialogTemplate, QWidget* parent, Handlers handlers)
    : m_dialog(std::make_unique<TemplateDialog>(dialogTemplate, parent)),
      m_handlers(std::move(handlers)) {
    QObject::connect(m_dialog.get(), &TemplateDialog::editFocusChanged, m_dialog.get(),
                     [this](int id, bool got) {
                         if (m_handlers.editFocusChanged) {
                             m_handlers.editFocusChanged(id, got);
                         }
                     });
    QObject::connect(m_dialog.get(), &TemplateDialog::buttonClicked, m_dialog.get(),
                     [this](int id) {
                         if (m_handlers.buttonClicked) {
                             m_handlers.buttonClicked(id);
                         }
                     });
    QObject::connect(m_dialog.get(), &QDialog::finished, m_dialog.get(), [this](int result) {
        if (m_handlers.finished) {
            m_handlers.finished(result);
        }
    });
    m_dialog->setRefusedPasteHandler([this](int id, const QString& text) {
        // Invisible formatting characters, which the code page mostly lacks, would turn into
        // '?'.
        return m_handlers.editPasteRefused &&
               m_handlers.editPasteRefused(id, toWindows1252(withoutFormatCharacters(text)));
    });
}

// The window goes first, while the handlers it reports to still exist.
QtDialog::~QtDialog() {
    m_dialog.reset();
}

int QtDialog::exec() {
    return m_dialog->exec();
}

void QtDialog::show() {
    m_dialog->show();
}

void QtDialog::done(int result) {
    m_dialog->done(result);
}

std::string QtDialog::caption() const {
    return toWindows1252(m_dialog->windowTitle());
}

void QtDialog::setCaption(const std::string& caption) {
    m_dialog->setWindowTitle(fromWindows1252(caption));
}

bool QtDialog::classicKeys() const {
    return m_dialog->classicKeys();
}

void QtDialog::setClassicKeys(bool on) {
    m_dialog->setClassicKeys(on);
}

std::string QtDialog::text(int id) const {
    QWidget* widget = m_dialog->control(id);
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
        return toWindows1252(edit->text());
    }
    if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
        return toWindows1252(button->text());
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return toWindows1252(label->text());
    }
    return {};
}

void QtDialog::setText(int id, const std::string& text) {
    QWidget* widget = m_dialog->control(id);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(fromWindows1252(text));
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
        button->setText(fromWindows1252(text));
    } else if (auto* label = qobject_cast<TemplateLabel*>(widget)) {
        label->setCaption(fromWindows1252(text));
    }
}

void QtDialog::setEditMask(int id, const std::string& mask) {
    auto* edit = qobject_cast<QLineEdit*>(m_dialog->control(id));
    if (!edit) {
        return;
    }
    delete edit->validator();
    if (mask.empty()) {
        edit->setValidator(nullptr);
        edit->setMaxLength(32767);
        return;
    }
    edit->setValidator(new PictureValidator(mask, edit));
    edit->setMaxLength(static_cast<int>(mask.size()));
}

void QtDialog::setFont(int id, const NativeFont& font, bool redraw) {
    QWidget* widget = m_dialog->control(id);
    if (!widget) {
        return;
    }
    // Qt widgets outside layouts keep their geometry on a new font; keep it explicitly so the
    // template's rectangle holds whatever a style would make of the font.
    const QRect rect = widget->geometry();
    widget->setFont(toQFont(font));
    widget->setGeometry(rect);
    if (redraw) {
        widget->repaint();
    } else {
        widget->update();
    }
}

std::string QtDialog::accessibleName(int id) const {
    QWidget* widget = m_dialog->control(id);
    return widget ? toWindows1252(widget->accessibleName()) : std::string();
}

void QtDialog::setAccessibleName(int id, const std::string& name) {
    if (QWidget* widget = m_dialog->control(id)) {
        widget->setAccessibleName(fromWindows1252(name));
    }
}

bool canCreateNativeDialogs() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

std::unique_ptr<NativeDialog> createNativeDialog(const DialogTemplate& dialogTemplate,
                                                 NativeDialog* owner,
                                                 NativeDialog::Handlers handlers) {
    auto* ownerDialog = dynamic_cast<QtDialog*>(owner);
    return std::make_unique<QtDialog>(dialogTemplate, ownerDialog ? ownerDialog->widget() : nullptr,
                                      std::move(handlers));
}

TemplateDialog* templateDialogOf(const DialogWindow& dialog) {
    auto* native = dynamic_cast<QtDialog*>(dialog.nativeDialog());
    return native ? native->widget() : nullptr;
}

} // namespace cuentas::gui
