#include "platform/gui/qt/screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace cuentas::gui {
namespace {

ScreenProvider* current = nullptr;

const QScreen* screenOf(const QWidget* owner) {
    if (owner) {
        return owner->screen();
    }
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance())
               ? QGuiApplication::primaryScreen()
               : nullptr;
}

} // namespace

int ScreenProvider::dotsPerInch() {
    const QScreen* primary = screenOf(nullptr);
    return primary ? static_cast<int>(std::lround(primary->logicalDotsPerInchY())) : 96;
}

std::optional<QRect> ScreenProvider::availableArea(const QWidget* owner) {
    const QScreen* shown = screenOf(owner);
    return shown ? std::optional(shown->availableGeometry()) : std::nullopt;
}

ScreenProvider& screenProvider() {
    static ScreenProvider toolkit;
    return current ? *current : toolkit;
}

ScopedScreen::ScopedScreen(ScreenProvider& replacement) : m_previous(current) {
    current = &replacement;
}

ScopedScreen::~ScopedScreen() {
    current = m_previous;
}

} // namespace cuentas::gui
