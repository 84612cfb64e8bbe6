// The dialog driver on Windows: the messages the keyboard and the mouse send, posted to the
// focused control or the one clicked and taken through the dialog manager's own loop
// (IsDialogMessageW, then TranslateMessage and DispatchMessageW), so that Tab, Enter and Escape
// are the dialog manager's as for a user.
#include "platform/gui/win32/win32_dialog.h"
#include "platform/gui/win32/win32_text.h"
#include "tests/support/gui/dialog_driver.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace cuentas::testing {
namespace {

// The scan codes of the keys the tests press (set 1), as the keyboard gives them.
constexpr LPARAM kTabScan = 0x0F, kReturnScan = 0x1C, kEscapeScan = 0x01, kSpaceScan = 0x39,
                 kEndScan = 0x4F | (1 << 8);

class Win32DialogDriver : public DialogDriver {
public:
    explicit Win32DialogDriver(gui::DialogWindow& dialog) : DialogDriver(dialog) {}

    int run(const std::function<void()>& actions) override {
        m_leftOpen = false;
        m_actions = &actions;
        m_waits = 0;
        current() = this;
        // The dialog manager shows a modal dialog when its queue first runs empty; a timer
        // that is not due at once lets it.
        SetTimer(nullptr, 0, 10, &Win32DialogDriver::whenShown);
        const int result = m_dialog.show().asInteger();
        current() = nullptr;
        return result;
    }
    bool isShown() const override { return window() && IsWindowVisible(window()); }

    void type(std::string_view keys) override {
        for (wchar_t c : gui::wideFromWindows1252(keys)) {
            PostMessageW(GetFocus(), WM_CHAR, c, 1);
            pump();
        }
    }
    void tab() override { key(VK_TAB, kTabScan); }
    void enter() override { key(VK_RETURN, kReturnScan); }
    // The keypad's Enter is Return with the extended-key bit.
    void keypadEnter() override { key(VK_RETURN, kReturnScan | (1 << 8)); }
    void escape() override { key(VK_ESCAPE, kEscapeScan); }
    void space() override { key(VK_SPACE, kSpaceScan); }
    void end() override { key(VK_END, kEndScan); }
    void selectAll() override {
        SendMessageW(GetFocus(), EM_SETSEL, 0, -1);
        pump();
    }

    void click(int id) override {
        press(id);
        release(id);
    }
    void press(int id) override {
        PostMessageW(control(id), WM_LBUTTONDOWN, MK_LBUTTON, centre(id));
        pump();
    }
    void release(int id) override {
        PostMessageW(control(id), WM_LBUTTONUP, 0, centre(id));
        pump();
    }
    void paste(int id, std::string_view utf8) override {
        const int length =
            MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
        HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (static_cast<SIZE_T>(length) + 1) * 2);
        auto* characters = static_cast<wchar_t*>(GlobalLock(data));
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), characters,
                            length);
        characters[length] = 0;
        GlobalUnlock(data);
        ASSERT_TRUE(OpenClipboard(window()));
        EmptyClipboard();
        SetClipboardData(CF_UNICODETEXT, data);
        CloseClipboard();
        // What TranslateMessage makes of Control+V.
        PostMessageW(control(id), WM_CHAR, 0x16, 0x002F0001);
        pump();
    }
    void closeBox() override {
        PostMessageW(window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        pump();
    }

    gui::PixelRect rect(int id) const override {
        RECT r{};
        GetWindowRect(control(id), &r);
        MapWindowPoints(nullptr, window(), reinterpret_cast<POINT*>(&r), 2);
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    gui::PixelRect clientRect() const override {
        RECT r{};
        GetClientRect(window(), &r);
        return {0, 0, r.right, r.bottom};
    }
    int focused() const override {
        HWND focus = GetFocus();
        return focus && window() && IsChild(window(), focus) ? GetDlgCtrlID(focus) : 0;
    }

private:
    static Win32DialogDriver*& current() {
        static Win32DialogDriver* running = nullptr;
        return running;
    }

    static void CALLBACK whenShown(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        Win32DialogDriver* self = current();
        if (!self) {
            return;
        }
        if (!self->isShown()) {
            if (++self->m_waits < 1000) {
                SetTimer(nullptr, 0, 10, &Win32DialogDriver::whenShown);
            } else {
                ADD_FAILURE() << "the dialog was not shown within ten seconds";
                self->m_dialog.nativeDialog()->done(-1);
            }
            return;
        }
        self->pump();
        (*self->m_actions)();
        self->pump();
        if (self->isShown()) {
            self->m_leftOpen = true;
            self->m_dialog.nativeDialog()->done(-1);
        }
    }

    HWND window() const { return gui::windowOf(m_dialog); }
    HWND control(int id) const { return GetDlgItem(window(), id); }
    LPARAM centre(int id) const {
        RECT r{};
        GetClientRect(control(id), &r);
        return MAKELPARAM(r.right / 2, r.bottom / 2);
    }

    // A key pressed and released on the focused control.
    void key(UINT virtualKey, LPARAM scan) {
        HWND target = GetFocus();
        PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
        PostMessageW(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | (3u << 30));
        pump();
    }

    // Every message waiting, as the dialog's own loop takes them.
    void pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            HWND dialog = window();
            if (!dialog || !IsDialogMessageW(dialog, &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }

    const std::function<void()>* m_actions = nullptr;
    int m_waits = 0;
};

} // namespace

gui::BaseUnits measuredBaseUnits(const gui::FontDefinition& font) {
    HDC screen = GetDC(nullptr);
    HFONT handle =
        CreateFontW(-MulDiv(font.pointSize, 96, 72), 0, 0, 0, font.weight, font.italic, FALSE,
                    FALSE, font.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    DEFAULT_PITCH | FF_DONTCARE, gui::wideFromWindows1252(font.faceName).c_str());
    HGDIOBJ previous = SelectObject(screen, handle);
    SIZE alphabet{};
    GetTextExtentPoint32W(screen, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52,
                          &alphabet);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, previous);
    DeleteObject(handle);
    ReleaseDC(nullptr, screen);
    return {(alphabet.cx / 26 + 1) / 2, metrics.tmHeight};
}

void startGuiToolkit() {}

std::unique_ptr<DialogDriver> driveDialog(const Value& dialog) {
    auto* window = objectAs<gui::DialogWindow>(dialog);
    return window && window->nativeDialog() ? std::make_unique<Win32DialogDriver>(*window)
                                            : nullptr;
}

} // namespace cuentas::testing
