// Message boxes of the runtime: modal Qt boxes while the GUI is up, stderr otherwise.
#include "platform/os/operating_system.h"
#include "platform/runtime/codepage.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <iostream>

namespace cuentas {
namespace {

bool guiIsUp() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

} // namespace

int OperatingSystem::messageBox(const std::string& text, const std::string& caption,
                                std::uint32_t flags) {
    if (!guiIsUp()) {
        std::cerr << caption << ": " << text << std::endl;
        return kMessageBoxAnswerOk;
    }
    QMessageBox box((flags & kMessageBoxIconError) ? QMessageBox::Critical
                                                   : QMessageBox::NoIcon,
                    fromWindows1252(caption), fromWindows1252(text), QMessageBox::Ok);
    box.exec();
    return kMessageBoxAnswerOk;
}

std::uint32_t OperatingSystem::errorMessageBox(const std::string& text, const std::string& caption,
                                               ErrorBoxButtons buttons) {
    if (!guiIsUp()) {
        std::cerr << caption << "\n" << text << std::endl;
        return buttons.breakCode;
    }
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

} // namespace cuentas
