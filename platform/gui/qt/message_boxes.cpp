#include "platform/gui/message_boxes.h"

#include "platform/gui/qt/qt_text.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace cuentas::gui {

bool hasDisplay() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        return false;
    }
    QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

int showMessageBox(const std::string& text, const std::string& caption, std::uint32_t flags) {
    QMessageBox box((flags & kMessageBoxIconError) ? QMessageBox::Critical : QMessageBox::NoIcon,
                    fromWindows1252(caption), fromWindows1252(text), QMessageBox::Ok);
    box.exec();
    return kMessageBoxAnswerOk;
}

std::uint32_t showErrorMessageBox(const std::string& text, const std::string& caption,
                                  ErrorBoxButtons buttons) {
    QMessageBox box(QMessageBox::Critical, fromWindows1252(caption), fromWindows1252(text));
    QPushButton* defaultButton =
        buttons.defaultCode ? box.addButton("&Default", QMessageBox::AcceptRole) : nullptr;
    QPushButton* retryButton =
        buttons.retryCode ? box.addButton("&Retry", QMessageBox::AcceptRole) : nullptr;
    // The low bits of the break code tell whether a recovery point can take the error.
    bool canBreak = (buttons.breakCode & 0x7FFFFFFFu) != 0;
    QPushButton* giveUp = box.addButton(canBreak ? "&Break" : "&Quit", QMessageBox::RejectRole);
    box.setDefaultButton(retryButton ? retryButton : (defaultButton ? defaultButton : giveUp));
    box.setEscapeButton(giveUp);
    box.exec();
    if (defaultButton && box.clickedButton() == defaultButton) {
        return buttons.defaultCode;
    }
    if (retryButton && box.clickedButton() == retryButton) {
        return buttons.retryCode;
    }
    return buttons.breakCode;
}

} // namespace cuentas::gui
