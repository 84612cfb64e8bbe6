// The desktop's boxes on Windows: MessageBoxW, given the program's Windows-1252 texts as UTF-16,
// so that they read the same whatever code page the machine's other programs use.
#include "platform/gui/message_boxes.h"

#include "platform/gui/win32/error_box.h"
#include "platform/gui/win32/win32_text.h"

#include <windows.h>

namespace cuentas::gui {

bool hasDisplay() {
    // A service's window station is not visible: no one could answer a box there.
    USEROBJECTFLAGS flags{};
    DWORD needed = 0;
    HWINSTA station = GetProcessWindowStation();
    return station &&
           GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, &needed) &&
           (flags.dwFlags & WSF_VISIBLE) != 0;
}

int showMessageBox(const std::string& text, const std::string& caption, std::uint32_t flags) {
    // Owned by the active window (the dialog), so that the box stays above it and the dialog
    // waits for the answer.
    MessageBoxW(GetActiveWindow(), wideFromWindows1252(text).c_str(),
                wideFromWindows1252(caption).c_str(), flags);
    return kMessageBoxAnswerOk;
}

std::uint32_t errorBoxStyle(ErrorBoxButtons buttons) {
    const bool canDefault = buttons.defaultCode != 0;
    const bool canRetry = buttons.retryCode != 0;
    std::uint32_t style = MB_ICONERROR;
    if (canDefault && canRetry) {
        style |= MB_ABORTRETRYIGNORE | MB_DEFBUTTON2;
    } else if (canRetry) {
        style |= MB_RETRYCANCEL;
    } else if (canDefault) {
        style |= MB_OKCANCEL;
    } else {
        style |= MB_OK;
    }
    return style;
}

std::uint32_t errorBoxAnswer(int pressed, ErrorBoxButtons buttons) {
    switch (pressed) {
    case IDIGNORE:
        return buttons.defaultCode;
    case IDOK:
        return buttons.defaultCode != 0 && buttons.retryCode == 0 ? buttons.defaultCode
                                                                  : buttons.breakCode;
    case IDRETRY:
        return buttons.retryCode;
    default: // Abort, Cancel, the close box, or no box at all
        return buttons.breakCode;
    }
}

std::uint32_t showErrorMessageBox(const std::string& text, const std::string& caption,
                                  ErrorBoxButtons buttons) {
    const int pressed = MessageBoxW(GetActiveWindow(), wideFromWindows1252(text).c_str(),
                                    wideFromWindows1252(caption).c_str(), errorBoxStyle(buttons));
    return errorBoxAnswer(pressed, buttons);
}

} // namespace cuentas::gui
