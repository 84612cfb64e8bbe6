#include "platform/os/operating_system.h"

#include "platform/os/codepage.h"
#include "platform/os/user_language.h"

namespace cuentas {
namespace {

OperatingSystem& defaultSystem() {
    static OperatingSystem system;
    return system;
}

OperatingSystem* current = nullptr;
DesktopServices desktop;

bool desktopShowsBoxes() {
    return desktop.canShowBoxes && desktop.canShowBoxes();
}

} // namespace

OperatingSystem& operatingSystem() {
    return current ? *current : defaultSystem();
}

void installDesktopServices(const DesktopServices& services) {
    desktop = services;
}

const DesktopServices& desktopServices() {
    return desktop;
}

ScopedOs::ScopedOs(OperatingSystem& replacement) : previous_(current) {
    current = &replacement;
}
ScopedOs::~ScopedOs() {
    current = previous_;
}

int OperatingSystem::messageBox(const std::string& text, const std::string& caption,
                                std::uint32_t flags) {
    if (desktopShowsBoxes() && desktop.messageBox) {
        return desktop.messageBox(text, caption, flags);
    }
    // Texts are Windows-1252 inside the program; a terminal reads UTF-8.
    writeStandardError(utf8FromWindows1252(caption) + ": " + utf8FromWindows1252(text) + "\n");
    return kMessageBoxAnswerOk;
}

std::uint32_t OperatingSystem::errorMessageBox(const std::string& text, const std::string& caption,
                                               ErrorBoxButtons buttons) {
    if (desktopShowsBoxes() && desktop.errorMessageBox) {
        return desktop.errorMessageBox(text, caption, buttons);
    }
    // No one can answer: the text is kept on stderr and the error is given up.
    writeStandardError(utf8FromWindows1252(caption) + "\n" + utf8FromWindows1252(text));
    return buttons.breakCode;
}

std::string OperatingSystem::messageLanguage() {
    // As the C library chooses the language of its messages; then the system's own choice.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        std::optional<std::string> value = environmentVariable(name);
        if (value && !value->empty()) {
            std::string language = value->substr(0, value->find_first_of("_.@"));
            return language == "C" || language == "POSIX" ? std::string() : language;
        }
    }
    return userInterfaceLanguage();
}

} // namespace cuentas
