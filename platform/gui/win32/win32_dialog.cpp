#include "platform/gui/win32/win32_dialog.h"

#include "platform/gui/accessible_names.h"
#include "platform/gui/picture.h"
#include "platform/gui/win32/dialog_template_bytes.h"
#include "platform/gui/win32/win32_text.h"

#include <commctrl.h>

namespace cuentas::gui {
namespace {

bool& closeWhenShown() {
    static bool pending = false;
    return pending;
}

bool sameFont(const NativeFont& a, const NativeFont& b) {
    return a.definition.faceName == b.definition.faceName &&
           a.definition.pointSize == b.definition.pointSize &&
           a.definition.weight == b.definition.weight &&
           a.definition.italic == b.definition.italic &&
           a.definition.charset == b.definition.charset && a.underline == b.underline;
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring clipboardText(HWND owner) {
    std::wstring text;
    if (!OpenClipboard(owner)) {
        return text;
    }
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* characters = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = characters;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// The selection of an edit, as [start, end).
std::pair<std::size_t, std::size_t> selectionOf(HWND edit) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

std::wstring replaced(std::wstring text, std::pair<std::size_t, std::size_t> selection,
                      std::wstring_view insert) {
    const std::size_t start = std::min(selection.first, text.size());
    const std::size_t end = std::clamp(selection.second, start, text.size());
    return text.replace(start, end - start, insert);
}

bool admits(std::wstring_view text, const std::string& mask) {
    return mask.empty() || (inWindows1252(text) && fitsPicture(windows1252FromWide(text), mask));
}

} // namespace

Win32Dialog::Win32Dialog(const DialogTemplate& dialogTemplate, Win32Dialog* owner,
                         Handlers handlers)
    : m_template(dialogTemplate), m_owner(owner), m_handlers(std::move(handlers)),
      m_caption(dialogTemplate.caption) {
    for (const ControlTemplate& control : m_template.controls) {
        m_controls[control.id] = ControlState{control.controlClass, control.text, {}, {}, {}};
    }
    // Edits and displays are named for screen readers by the fixed texts before them.
    for (const auto& [id, name] : accessibleNamesFromTemplate(m_template)) {
        m_controls[id].accessibleName = name;
    }
}

Win32Dialog::~Win32Dialog() {
    if (m_window) {
        m_ending = true;
        DestroyWindow(m_window);
    }
    for (const auto& [font, handle] : m_fonts) {
        DeleteObject(handle);
    }
}

int Win32Dialog::exec() {
    m_modal = true;
    m_ending = false;
    m_focusedEdit = 0;
    m_made = false;
    const std::vector<std::uint32_t> bytes = dialogTemplateBytes(m_template);
    SetLastError(0);
    const INT_PTR result = DialogBoxIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()),
        m_owner ? m_owner->window() : nullptr, dialogProcedure, reinterpret_cast<LPARAM>(this));
    m_openFailure = m_made ? std::nullopt : std::optional<std::uint32_t>(GetLastError());
    if (m_openFailure) {
        return static_cast<int>(result);
    }
    if (m_handlers.finished) {
        m_handlers.finished(static_cast<int>(result));
    }
    return static_cast<int>(result);
}

void Win32Dialog::show() {
    if (m_window) {
        ShowWindow(m_window, SW_SHOW);
        return;
    }
    m_modal = false;
    m_ending = false;
    m_focusedEdit = 0;
    const std::vector<std::uint32_t> bytes = dialogTemplateBytes(m_template);
    SetLastError(0);
    HWND window = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()),
        m_owner ? m_owner->window() : nullptr, dialogProcedure, reinterpret_cast<LPARAM>(this));
    m_openFailure = window ? std::nullopt : std::optional<std::uint32_t>(GetLastError());
    if (window) {
        ShowWindow(window, SW_SHOW);
    }
}

void Win32Dialog::done(int result) {
    if (!m_window || m_ending) {
        return;
    }
    // Ending the dialog takes the focus from its edits: that is no focus change to report.
    m_ending = true;
    if (m_modal) {
        EndDialog(m_window, result);
        return;
    }
    DestroyWindow(m_window);
    if (m_handlers.finished) {
        m_handlers.finished(result);
    }
}

std::string Win32Dialog::caption() const {
    return m_window ? windows1252FromWide(windowText(m_window)) : m_caption;
}

void Win32Dialog::setCaption(const std::string& caption) {
    m_caption = caption;
    if (m_window) {
        SetWindowTextW(m_window, wideFromWindows1252(caption).c_str());
    }
}

std::string Win32Dialog::text(int id) const {
    auto found = m_controls.find(id);
    if (found == m_controls.end()) {
        return {};
    }
    HWND control = m_window ? GetDlgItem(m_window, id) : nullptr;
    return control ? windows1252FromWide(windowText(control)) : found->second.text;
}

void Win32Dialog::setText(int id, const std::string& text) {
    auto found = m_controls.find(id);
    if (found == m_controls.end()) {
        return;
    }
    found->second.text = text;
    if (HWND control = m_window ? GetDlgItem(m_window, id) : nullptr) {
        SetWindowTextW(control, wideFromWindows1252(text).c_str());
    }
}

void Win32Dialog::setEditMask(int id, const std::string& mask) {
    auto found = m_controls.find(id);
    if (found == m_controls.end() || found->second.controlClass != ControlClass::Edit) {
        return;
    }
    found->second.mask = mask;
    applyMask(id);
}

void Win32Dialog::setFont(int id, const NativeFont& font, bool redraw) {
    auto found = m_controls.find(id);
    if (found == m_controls.end()) {
        return;
    }
    found->second.font = font;
    applyFont(id, redraw);
}

std::string Win32Dialog::accessibleName(int id) const {
    auto found = m_controls.find(id);
    return found == m_controls.end() ? std::string() : found->second.accessibleName;
}

void Win32Dialog::setAccessibleName(int id, const std::string& name) {
    auto found = m_controls.find(id);
    if (found != m_controls.end()) {
        found->second.accessibleName = name;
    }
}

HFONT Win32Dialog::fontFor(const NativeFont& font) {
    for (const auto& [made, handle] : m_fonts) {
        if (sameFont(made, font)) {
            return handle;
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) {
        ReleaseDC(nullptr, screen);
    }
    const FontDefinition& d = font.definition;
    // A negative height asks for the character height: the font's size in points.
    HFONT handle =
        CreateFontW(-MulDiv(d.pointSize, dpi, 72), 0, 0, 0, d.weight, d.italic, font.underline,
                    FALSE, d.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    DEFAULT_PITCH | FF_DONTCARE, wideFromWindows1252(d.faceName).c_str());
    if (handle) {
        m_fonts.emplace_back(font, handle);
    }
    return handle;
}

void Win32Dialog::applyFont(int id, bool redraw) {
    const ControlState& state = m_controls[id];
    HWND control = m_window ? GetDlgItem(m_window, id) : nullptr;
    if (!control || !state.font) {
        return;
    }
    if (HFONT font = fontFor(*state.font)) {
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
    }
}

void Win32Dialog::applyMask(int id) {
    HWND edit = m_window ? GetDlgItem(m_window, id) : nullptr;
    if (edit) {
        // 0 gives the edit its largest limit back.
        SendMessageW(edit, EM_SETLIMITTEXT, m_controls[id].mask.size(), 0);
    }
}

INT_PTR CALLBACK Win32Dialog::dialogProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, l);
        reinterpret_cast<Win32Dialog*>(l)->initialize(window);
        return TRUE; // the focus goes to the first tab stop
    }
    auto* self = reinterpret_cast<Win32Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    return self ? self->handle(message, w, l) : FALSE;
}

INT_PTR Win32Dialog::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_COMMAND:
        command(LOWORD(w), HIWORD(w), reinterpret_cast<HWND>(l));
        return TRUE;
    case WM_SHOWWINDOW:
        if (w && closeWhenShown()) {
            closeWhenShown() = false;
            PostMessageW(m_window, WM_CLOSE, 0, 0);
        }
        return FALSE;
    case WM_CLOSE:
        done(kClosedDialogResult);
        return TRUE;
    case WM_DESTROY:
        m_ending = true;
        keepTexts();
        return FALSE;
    case WM_NCDESTROY:
        SetWindowLongPtrW(m_window, DWLP_USER, 0);
        m_window = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

void Win32Dialog::initialize(HWND window) {
    m_window = window;
    m_made = true;
    SetWindowTextW(window, wideFromWindows1252(m_caption).c_str());
    for (const ControlTemplate& control : m_template.controls) {
        HWND item = GetDlgItem(window, control.id);
        if (!item) {
            continue;
        }
        const ControlState& state = m_controls[control.id];
        if (state.text != control.text) {
            SetWindowTextW(item, wideFromWindows1252(state.text).c_str());
        }
        applyFont(control.id, false);
        if (control.controlClass == ControlClass::Edit) {
            SetWindowSubclass(item, editProcedure, static_cast<UINT_PTR>(control.id),
                              reinterpret_cast<DWORD_PTR>(this));
            applyMask(control.id);
        }
    }
}

void Win32Dialog::keepTexts() {
    for (auto& [id, state] : m_controls) {
        if (HWND control = GetDlgItem(m_window, id)) {
            state.text = windows1252FromWide(windowText(control));
        }
    }
    m_caption = windows1252FromWide(windowText(m_window));
}

void Win32Dialog::command(int id, int code, HWND control) {
    // The dialog manager's keys: Enter (IDOK) and Escape (IDCANCEL), from no control of ours.
    if (!control || !IsChild(m_window, control)) {
        if (id == IDCANCEL) {
            done(kClosedDialogResult);
        } else if (id == IDOK) {
            enterPressed();
        }
        return;
    }
    const ControlTemplate* item = m_template.control(id);
    if (!item) {
        return;
    }
    switch (item->controlClass) {
    case ControlClass::Edit:
        if (code == EN_SETFOCUS || code == EN_KILLFOCUS) {
            focusChanged(id, code == EN_SETFOCUS);
        }
        return;
    case ControlClass::Button:
        if (code == BN_CLICKED && m_handlers.buttonClicked && !m_ending) {
            m_handlers.buttonClicked(id);
        }
        return;
    case ControlClass::Static:
        return;
    }
}

void Win32Dialog::enterPressed() {
    if (!m_classicKeys || m_ending) {
        return;
    }
    HWND focus = GetFocus();
    const int id = focus && IsChild(m_window, focus) ? GetDlgCtrlID(focus) : 0;
    const ControlTemplate* item = m_template.control(id);
    if (item && item->controlClass == ControlClass::Button) {
        if (m_handlers.buttonClicked) {
            m_handlers.buttonClicked(id);
        }
        return;
    }
    // Enter moves on like Tab.
    SendMessageW(m_window, WM_NEXTDLGCTL, 0, FALSE);
}

void Win32Dialog::focusChanged(int id, bool gotFocus) {
    // A message about a paste takes the focus only for a moment; the user has not left the
    // field. Report each change once.
    if (m_ending || m_handlingPaste || (m_focusedEdit == id) == gotFocus) {
        return;
    }
    m_focusedEdit = gotFocus ? id : 0;
    if (m_handlers.editFocusChanged) {
        m_handlers.editFocusChanged(id, gotFocus);
    }
}

std::optional<wchar_t> Win32Dialog::typed(HWND edit, int id, wchar_t character) const {
    const std::string& mask = m_controls.at(id).mask;
    // Control characters (Backspace, the clipboard's keys) are the edit's own business.
    if (mask.empty() || character < 0x20) {
        return character;
    }
    const auto selection = selectionOf(edit);
    const std::wstring candidate = replaced(windowText(edit), selection, {&character, 1});
    if (!admits(candidate, mask)) {
        return std::nullopt;
    }
    const std::string shown = applyPicture(windows1252FromWide(candidate), mask);
    return wideFromWindows1252(shown.substr(selection.first, 1))[0];
}

bool Win32Dialog::paste(HWND edit, int id) {
    const std::wstring pasted = clipboardText(edit);
    if (pasted.empty() || (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY)) {
        return false;
    }
    const std::string& mask = m_controls[id].mask;
    const std::size_t limit = static_cast<std::size_t>(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
    const std::wstring current = windowText(edit);
    const auto selection = selectionOf(edit);
    const std::wstring whole = replaced(current, selection, pasted);
    if (whole.size() <= limit && admits(whole, mask)) {
        return false; // the edit pastes it as it always does
    }
    if (m_handlers.editPasteRefused) {
        m_handlingPaste = true;
        const bool taken =
            m_handlers.editPasteRefused(id, windows1252FromWide(withoutFormatCharacters(pasted)));
        m_handlingPaste = false;
        if (taken) {
            return true;
        }
    }
    // The edit's own paste: cut to the room left, then admitted whole or not at all.
    const std::size_t kept = current.size() - (selection.second - selection.first);
    const std::wstring piece = pasted.substr(0, limit > kept ? limit - kept : 0);
    const std::wstring candidate = replaced(current, selection, piece);
    if (piece.empty() || !admits(candidate, mask)) {
        return true;
    }
    const std::wstring shown =
        mask.empty() ? piece
                     : wideFromWindows1252(applyPicture(windows1252FromWide(candidate), mask)
                                               .substr(selection.first, piece.size()));
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(shown.c_str()));
    return true;
}

LRESULT CALLBACK Win32Dialog::editProcedure(HWND edit, UINT message, WPARAM w, LPARAM l,
                                            UINT_PTR id, DWORD_PTR data) {
    auto* self = reinterpret_cast<Win32Dialog*>(data);
    switch (message) {
    case WM_CHAR: {
        const std::optional<wchar_t> put =
            self->typed(edit, static_cast<int>(id), static_cast<wchar_t>(w));
        if (!put) {
            return 0;
        }
        return DefSubclassProc(edit, message, static_cast<WPARAM>(*put), l);
    }
    case WM_PASTE:
        if (self->paste(edit, static_cast<int>(id))) {
            return 0;
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(edit, editProcedure, id);
        break;
    default:
        break;
    }
    return DefSubclassProc(edit, message, w, l);
}

bool canCreateNativeDialogs() {
    return true;
}

std::unique_ptr<NativeDialog> createNativeDialog(const DialogTemplate& dialogTemplate,
                                                 NativeDialog* owner,
                                                 NativeDialog::Handlers handlers) {
    return std::make_unique<Win32Dialog>(dialogTemplate, dynamic_cast<Win32Dialog*>(owner),
                                         std::move(handlers));
}

HWND windowOf(const DialogWindow& dialog) {
    auto* native = dynamic_cast<Win32Dialog*>(dialog.nativeDialog());
    return native ? native->window() : nullptr;
}

void closeFirstDialogWhenShown() {
    closeWhenShown() = true;
}

} // namespace cuentas::gui
