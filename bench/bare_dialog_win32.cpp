// The baseline of the Windows start-up comparison: the least a Win32 program does to show a
// dialog of the same template (322 x 112 dialog units in "MS Shell Dlg" 8) with a few controls,
// run by the dialog manager and closed as soon as it is shown.
#include <cstdint>
#include <vector>

#include <windows.h>

namespace {

std::vector<std::uint16_t> words;

void dword(std::uint32_t value) {
    words.push_back(static_cast<std::uint16_t>(value & 0xFFFF));
    words.push_back(static_cast<std::uint16_t>(value >> 16));
}

void text(const wchar_t* value) {
    for (; *value; ++value) {
        words.push_back(static_cast<std::uint16_t>(*value));
    }
    words.push_back(0);
}

void item(std::uint32_t style, std::uint32_t exStyle, std::int16_t x, std::int16_t y,
          std::int16_t cx, std::int16_t cy, std::uint32_t id, std::uint16_t atom,
          const wchar_t* caption) {
    if (words.size() % 2 != 0) {
        words.push_back(0);
    }
    dword(0);
    dword(exStyle);
    dword(style);
    words.insert(words.end(), {static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y),
                               static_cast<std::uint16_t>(cx), static_cast<std::uint16_t>(cy)});
    dword(id);
    words.insert(words.end(), {0xFFFF, atom});
    text(caption);
    words.push_back(0);
}

INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM w, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_SHOWWINDOW:
        if (w) {
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        }
        return FALSE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int main() {
    words.insert(words.end(), {1, 0xFFFF});
    dword(0);
    dword(0);
    dword(0x80CA08C4);
    words.insert(words.end(), {3, 20, 34, 322, 112, 0, 0});
    text(L"Bare dialog");
    words.insert(words.end(), {8, 400, 0x0100});
    text(L"MS Shell Dlg");
    item(0x50000002, 0, 4, 13, 72, 12, 105, 0x82, L"Label");
    item(0x50810080, 0x200, 80, 11, 27, 13, 100, 0x81, L"");
    item(0x50010000, 0, 233, 84, 53, 25, 103, 0x80, L"Button");
    // std::vector's storage is aligned well beyond the DWORD the dialog manager needs.
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                                   reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
                                                   nullptr, procedure, 0);
    return result == 0 ? 0 : 1;
}
