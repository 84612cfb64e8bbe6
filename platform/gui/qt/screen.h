#pragma once
// The screen that dialogs are measured for and placed on: its resolution and the area a window
// may use. The GUI toolkit answers by default; tests replace it with ScopedScreen.

#include <QRect>
#include <optional>

class QWidget;

namespace cuentas::gui {

class ScreenProvider {
public:
    virtual ~ScreenProvider() = default;
    // The logical dots per inch that fonts are sized for; 96 without a screen.
    virtual int dotsPerInch();
    // The area a window may use on the screen of `owner` (the primary screen without an owner);
    // none without a screen.
    virtual std::optional<QRect> availableArea(const QWidget* owner);
};

// The screen the GUI class library asks now.
ScreenProvider& screenProvider();

// Installs a replacement for as long as it lives (tests).
class ScopedScreen {
public:
    explicit ScopedScreen(ScreenProvider& replacement);
    ~ScopedScreen();
    ScopedScreen(const ScopedScreen&) = delete;
    ScopedScreen& operator=(const ScopedScreen&) = delete;

private:
    ScreenProvider* m_previous;
};

} // namespace cuentas::gui
