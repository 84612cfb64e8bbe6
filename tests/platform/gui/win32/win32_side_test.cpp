// The Win32 side's own pieces: the DLGTEMPLATEEX it hands the dialog manager, a window the
// system will not make, the error box's buttons, and the texts at the boundary.
#include "platform/gui/win32/dialog_template_bytes.h"
#include "platform/gui/win32/error_box.h"
#include "platform/gui/win32/win32_text.h"
#include "platform/runtime/raise.h"
#include "tests/platform/gui/dialog_window_fixture.h"
#include "tests/support/recording_errors.h"

#include <gtest/gtest.h>

#include <cstring>

#include <windows.h>

namespace cuentas::gui {
namespace {

// Reads the template back as the dialog manager does.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<std::uint32_t>& storage)
        : bytes(reinterpret_cast<const std::uint8_t*>(storage.data())), size(storage.size() * 4) {}
    std::uint16_t word() {
        EXPECT_LE(at + 2, size);
        std::uint16_t value = static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
        at += 2;
        return value;
    }
    std::uint32_t dword() {
        std::uint32_t low = word();
        return low | (static_cast<std::uint32_t>(word()) << 16);
    }
    std::uint8_t byte() { return bytes[at++]; }
    std::wstring text() {
        std::wstring value;
        for (std::uint16_t c = word(); c != 0; c = word()) {
            value.push_back(static_cast<wchar_t>(c));
        }
        return value;
    }
    void align() { at = (at + 3) & ~std::size_t{3}; }

private:
    const std::uint8_t* bytes;
    std::size_t size;
    std::size_t at = 0;
};

DialogTemplate sample() {
    DialogTemplate t;
    t.rect = {20, 34, 322, 112};
    t.style = 0x80CA08C4;
    t.caption = "C\xE1lculo";
    t.font = FontDefinition{"MS Shell Dlg", 8, 400, false, 1};
    t.controls = {
        {ControlClass::Edit, 100, {80, 11, 27, 13}, 0x50810080, 0x200, ""},
        {ControlClass::Button, 103, {233, 84, 53, 25}, 0x50010000, 0, "Grabar"},
        {ControlClass::Static, 105, {4, 13, 72, 12}, 0x50000002, 0, "N\xBA Banco :"},
        {ControlClass::Static, 109, {116, 11, 202, 13}, 0x50800001, 0, ""},
    };
    return t;
}

TEST(DialogTemplateBytes, AreAnExtendedTemplateWithTheTemplatesOwnStylesAndTexts) {
    TemplateReader in(dialogTemplateBytes(sample()));
    EXPECT_EQ(in.word(), 1);
    EXPECT_EQ(in.word(), 0xFFFF);
    EXPECT_EQ(in.dword(), 0u); // help context
    EXPECT_EQ(in.dword(), 0u); // extended style
    EXPECT_EQ(in.dword(), 0x80CA08C4u);
    EXPECT_EQ(in.word(), 4);
    EXPECT_EQ(in.word(), 20);
    EXPECT_EQ(in.word(), 34);
    EXPECT_EQ(in.word(), 322);
    EXPECT_EQ(in.word(), 112);
    EXPECT_EQ(in.word(), 0); // menu
    EXPECT_EQ(in.word(), 0); // class
    EXPECT_EQ(in.text(), L"C\u00E1lculo");
    EXPECT_EQ(in.word(), 8);
    EXPECT_EQ(in.word(), 400);
    EXPECT_EQ(in.byte(), 0);
    EXPECT_EQ(in.byte(), 1);
    EXPECT_EQ(in.text(), L"MS Shell Dlg");
    struct Item {
        std::uint32_t exStyle, style;
        int x, y, cx, cy;
        std::uint32_t id;
        std::uint16_t atom;
        const wchar_t* text;
    };
    // The edit follows the fixed text that names it; the rest keep the template's order.
    const Item items[] = {
        {0, 0x50000002, 4, 13, 72, 12, 105, 0x82, L"N\u00BA Banco :"},
        {0x200, 0x50810080, 80, 11, 27, 13, 100, 0x81, L""},
        {0, 0x50010000, 233, 84, 53, 25, 103, 0x80, L"Grabar"},
        {0, 0x50800001, 116, 11, 202, 13, 109, 0x82, L""},
    };
    for (const Item& item : items) {
        SCOPED_TRACE(item.id);
        in.align();
        EXPECT_EQ(in.dword(), 0u);
        EXPECT_EQ(in.dword(), item.exStyle);
        EXPECT_EQ(in.dword(), item.style);
        EXPECT_EQ(in.word(), item.x);
        EXPECT_EQ(in.word(), item.y);
        EXPECT_EQ(in.word(), item.cx);
        EXPECT_EQ(in.word(), item.cy);
        EXPECT_EQ(in.dword(), item.id);
        EXPECT_EQ(in.word(), 0xFFFF);
        EXPECT_EQ(in.word(), item.atom);
        EXPECT_EQ(in.text(), item.text);
        EXPECT_EQ(in.word(), 0); // no creation data
    }
}

// Refuses every window the thread would make, as a system short of resources does.
LRESULT CALLBACK refuseWindows(int code, WPARAM w, LPARAM l) {
    return code == HCBT_CREATEWND ? 1 : CallNextHookEx(nullptr, code, w, l);
}

TEST(Win32Dialog, AWindowTheSystemWillNotMakeIsAnErrorNotADialogThatNeverCame) {
    testing::startGuiToolkit();
    declareTestDialog();
    testing::RecordingErrors errors;
    for (bool modal : {true, false}) {
        SCOPED_TRACE(modal ? "modal" : "modeless");
        errors.errors.clear();
        std::array<Value, 3> arguments{Value(), makeResourceId(std::string("GUITEST")),
                                       Value::logic(modal)};
        Value dialog(CreateInstance(sym("DIALOGWINDOW"), arguments));
        HHOOK hook = SetWindowsHookExW(WH_CBT, refuseWindows, nullptr, GetCurrentThreadId());
        ASSERT_NE(hook, nullptr);
        const Value result = Send(dialog, sym("SHOW"));
        UnhookWindowsHookEx(hook);
        EXPECT_TRUE(result.isNil());
        ASSERT_EQ(errors.errors.size(), 1u);
        EXPECT_EQ(errors.errors[0].subsystem, "GUI");
        EXPECT_EQ(errors.errors[0].genCode, gencode::kCreate);
        EXPECT_EQ(errors.errors[0].description, "Dialog window could not be created");
    }
}

TEST(ErrorBox, EachSetOfCodesHasItsButtonsAndEachButtonItsCode) {
    constexpr std::uint32_t kBreak = 0x80000003;
    struct Case {
        ErrorBoxButtons offered;
        std::uint32_t style;
        std::vector<std::pair<int, std::uint32_t>> answers;
    };
    const Case cases[] = {
        {{1, 2, kBreak},
         MB_ICONERROR | MB_ABORTRETRYIGNORE | MB_DEFBUTTON2,
         {{IDIGNORE, 1}, {IDRETRY, 2}, {IDABORT, kBreak}, {0, kBreak}}},
        {{0, 2, kBreak}, MB_ICONERROR | MB_RETRYCANCEL, {{IDRETRY, 2}, {IDCANCEL, kBreak}}},
        {{1, 0, 0x80000000}, MB_ICONERROR | MB_OKCANCEL, {{IDOK, 1}, {IDCANCEL, 0x80000000}}},
        {{0, 0, kBreak}, MB_ICONERROR | MB_OK, {{IDOK, kBreak}, {IDCANCEL, kBreak}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(errorBoxStyle(c.offered), c.style);
        for (const auto& [pressed, code] : c.answers) {
            EXPECT_EQ(errorBoxAnswer(pressed, c.offered), code) << pressed;
        }
    }
}

TEST(Win32Text, Windows1252CrossesAsUtf16AndFormatCharactersAreLeftOut) {
    EXPECT_EQ(wideFromWindows1252("N\xBA \x80"), L"N\u00BA \u20AC");
    EXPECT_EQ(windows1252FromWide(L"N\u00BA \u20AC \u4E00"), "N\xBA \x80 ?");
    EXPECT_TRUE(inWindows1252(L"\u00D1\u20AC"));
    EXPECT_FALSE(inWindows1252(L"\u200B"));
    EXPECT_EQ(withoutFormatCharacters(L"\uFEFFES91\u200B 21\u00AD00\u2066\u200E\U000E0041x"),
              L"ES91 2100x");
    // Characters outside the BMP that are not format characters stay, both halves.
    EXPECT_EQ(withoutFormatCharacters(L"a\U0001F600b"), L"a\U0001F600b");
}

} // namespace
} // namespace cuentas::gui
