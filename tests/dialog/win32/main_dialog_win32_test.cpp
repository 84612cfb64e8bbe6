// The account dialog as Windows made it: the windows' own styles, the fonts made with
// CreateFont, the dialog units of the template face, and the names Windows' accessibility
// (oleacc) gives the edits from the static texts before them.
#include "platform/gui/accessible_names.h"
#include "platform/gui/win32/win32_dialog.h"
#include "platform/gui/win32/win32_text.h"
#include "tests/dialog/account_dialog_fixture.h"

#include <oleacc.h>
#include <windows.h>

namespace cuentas::testing {
namespace {

using enum MainDialogId;

class Win32AccountDialogTest : public AccountDialogTest {
protected:
    HWND window() const { return gui::windowOf(*objectAs<gui::DialogWindow>(dialog)); }
    HWND control(MainDialogId id) const { return GetDlgItem(window(), idOf(id)); }
};

struct Styled {
    MainDialogId id;
    const char* name;
    LONG style, exStyle; // the template's
    const wchar_t* className;
};

const Styled kControls[] = {
    {Banco, "BANCO", 0x50810080, 0x200, L"Edit"},
    {Sucursal, "SUCURSAL", 0x50810080, 0x200, L"Edit"},
    {Cuenta, "CUENTA", 0x50810080, 0x200, L"Edit"},
    {Grabar, "GRABAR", 0x50010000, 0, L"Button"},
    {Cancelar, "CANCELAR", 0x50010000, 0, L"Button"},
    {FixedText1, "FIXEDTEXT1", 0x50000002, 0, L"Static"},
    {FtSucursal, "FTSUCURSAL", 0x50000002, 0, L"Static"},
    {FixedText3, "FIXEDTEXT3", 0x50000002, 0, L"Static"},
    {FixedText4, "FIXEDTEXT4", 0x50000002, 0, L"Static"},
    {Nombre, "NOMBRE", 0x50800001, 0, L"Static"},
    {Dc, "DC", 0x50800001, 0, L"Static"},
    {Calcular, "CALCULAR", 0x50010000, 0, L"Button"},
};

TEST_F(Win32AccountDialogTest, EachWindowHasTheTemplatesClassAndStyles) {
    run([&] {
        // The window manager adds WS_CLIPSIBLINGS to every top-level window.
        EXPECT_EQ(GetWindowLongW(window(), GWL_STYLE) & 0xFFFF0000 & ~LONG{WS_CLIPSIBLINGS},
                  0x80CA0000 | WS_VISIBLE);
        wchar_t caption[64] = {};
        GetWindowTextW(window(), caption, 64);
        EXPECT_STREQ(caption, L"C\u00E1lculo d\u00EDgitos control bancario");
        for (const Styled& c : kControls) {
            HWND item = control(c.id);
            ASSERT_NE(item, nullptr) << c.name;
            wchar_t className[32] = {};
            GetClassNameW(item, className, 32);
            EXPECT_STREQ(className, c.className) << c.name;
            // The controls take their own styles from the template (the bytes are checked in
            // tests/platform/gui/win32); an edit trades its border for the sunken edge, so
            // only what the dialog manager goes by is compared here.
            const LONG kept = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_DISABLED;
            EXPECT_EQ(GetWindowLongW(item, GWL_STYLE) & kept, c.style & kept) << c.name;
        }
    });
}

TEST_F(Win32AccountDialogTest, TahomaStandsForTheTemplateFaceUnderWine) {
    run([&] {
        RECT units{0, 0, 4, 8};
        MapDialogRect(window(), &units);
        EXPECT_EQ(units.right, 6);
        EXPECT_EQ(units.bottom, 13);
        RECT client{};
        GetClientRect(window(), &client);
        EXPECT_EQ(client.right, 483);
        EXPECT_EQ(client.bottom, 182);
    });
}

TEST_F(Win32AccountDialogTest, CalcularKeepsTheTemplateFontAndTheRestShareOneBoldFont) {
    run([&] {
        HFONT shared = reinterpret_cast<HFONT>(SendMessageW(control(Banco), WM_GETFONT, 0, 0));
        LOGFONTW bold{};
        ASSERT_TRUE(GetObjectW(shared, sizeof bold, &bold));
        EXPECT_STREQ(bold.lfFaceName, L"Microsoft Sans Serif");
        EXPECT_EQ(bold.lfWeight, FW_BOLD);
        EXPECT_EQ(bold.lfHeight, -11); // 8 points at 96 dpi
        for (const Styled& c : kControls) {
            HFONT font = reinterpret_cast<HFONT>(SendMessageW(control(c.id), WM_GETFONT, 0, 0));
            EXPECT_EQ(font == shared, c.id != Calcular) << c.name;
        }
        LOGFONTW own{};
        ASSERT_TRUE(
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control(Calcular), WM_GETFONT, 0, 0)),
                       sizeof own, &own));
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(window(), WM_GETFONT, 0, 0)),
                  reinterpret_cast<HFONT>(SendMessageW(control(Calcular), WM_GETFONT, 0, 0)));
        EXPECT_EQ(own.lfWeight, FW_NORMAL);
    });
}

TEST_F(Win32AccountDialogTest, WindowsAccessibilityNamesEachEditAfterTheLabelBeforeIt) {
    CoInitialize(nullptr);
    run([&] {
        const std::pair<MainDialogId, const char*> edits[] = {
            {Banco, "N\xBA Banco"}, {Sucursal, "N\xBA Sucursal"}, {Cuenta, "N\xBA de cuenta"}};
        for (const auto& [id, name] : edits) {
            SCOPED_TRACE(name);
            // The static text just before the edit in the windows' order is its label.
            HWND before = GetWindow(control(id), GW_HWNDPREV);
            ASSERT_NE(before, nullptr);
            wchar_t text[64] = {};
            GetWindowTextW(before, text, 64);
            EXPECT_EQ(gui::nameFromCaption(gui::windows1252FromWide(text)), name);

            IAccessible* accessible = nullptr;
            ASSERT_EQ(AccessibleObjectFromWindow(control(id), OBJID_CLIENT, __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(&accessible)),
                      S_OK);
            VARIANT self{};
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            BSTR accessibleName = nullptr;
            EXPECT_EQ(accessible->get_accName(self, &accessibleName), S_OK);
            ASSERT_NE(accessibleName, nullptr);
            EXPECT_EQ(gui::nameFromCaption(gui::windows1252FromWide(accessibleName)), name);
            // And the program reads the same name through the control's property.
            EXPECT_EQ(IVarGet(IVarGet(dialog, Symbol::intern(id == Banco      ? "BANCO"
                                                             : id == Sucursal ? "SUCURSAL"
                                                                              : "CUENTA")),
                              Symbol::intern("ACCESSIBLENAME"))
                          .asString(),
                      name);
            SysFreeString(accessibleName);
            accessible->Release();
        }
        // Tab stops keep the template's order all the same.
        EXPECT_EQ(GetNextDlgTabItem(window(), control(Cuenta), FALSE), control(Grabar));
    });
    CoUninitialize();
}

} // namespace
} // namespace cuentas::testing
