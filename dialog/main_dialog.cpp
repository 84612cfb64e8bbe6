#include "dialog/main_dialog.h"

#include "dialog/dialog_symbols.h"
#include "platform/gui/gui.h"
#include "platform/gui/gui_symbols.h"
#include "platform/runtime/call_stack.h"
#include "platform/runtime/class_declaration.h"
#include "platform/runtime/runtime_symbols.h"

namespace cuentas {

using namespace symbols;

namespace {

// How INIT dresses one control: in which order it gets its font, mask and label record.
enum class Dressing { FontPictureLabel, LabelFont, FontLabel, LabelOnly };

struct ControlEntry {
    const Symbol* name;
    const Symbol* className;
    MainDialogId id;
    Dressing dressing;
    const char* picture;
    const char* caption; // of the label record
};

constexpr std::array<ControlEntry, 12> kControls{{
    {&kBanco, &kSingleLineEdit, MainDialogId::Banco, Dressing::FontPictureLabel, "9999", ""},
    {&kSucursal, &kSingleLineEdit, MainDialogId::Sucursal, Dressing::FontPictureLabel, "9999", ""},
    {&kCuenta, &kSingleLineEdit, MainDialogId::Cuenta, Dressing::FontPictureLabel, "9999999999",
     ""},
    {&kGrabar, &kPushButton, MainDialogId::Grabar, Dressing::LabelFont, "", "Grabar"},
    {&kCancelar, &kPushButton, MainDialogId::Cancelar, Dressing::LabelFont, "", "Cancelar"},
    {&kFixedText1, &kFixedText, MainDialogId::FixedText1, Dressing::LabelFont, "", "N\xBA Banco :"},
    {&kFtSucursal, &kFixedText, MainDialogId::FtSucursal, Dressing::LabelFont, "",
     "N\xBA Sucursal :"},
    {&kFixedText3, &kFixedText, MainDialogId::FixedText3, Dressing::LabelFont, "",
     "D\xEDgitos Control :"},
    {&kFixedText4, &kFixedText, MainDialogId::FixedText4, Dressing::LabelFont, "",
     "N\xBA de cuenta :"},
    {&kNombre, &kFixedText, MainDialogId::Nombre, Dressing::FontLabel, "", ""},
    {&kDc, &kFixedText, MainDialogId::Dc, Dressing::FontLabel, "", ""},
    {&kCalcular, &kPushButton, MainDialogId::Calcular, Dressing::LabelOnly, "", "Calcular"},
}};

std::size_t indexOf(MainDialogId id) {
    return static_cast<std::size_t>(static_cast<int>(id) - static_cast<int>(MainDialogId::Banco));
}

void giveFont(const Value& control, const Value& font) {
    std::array<Value, 2> args{font, Value::logic(false)};
    Send(control, kFont, args);
}

void giveLabel(const Value& control, const ControlEntry& entry) {
    IVarPut(control, kHyperLabel, gui::makeHyperLabel(*entry.name, entry.caption));
}

} // namespace

const Value& AccountDialog::control(MainDialogId id) const {
    return m_controls.at(indexOf(id));
}

void AccountDialog::setControl(MainDialogId id, Value control) {
    m_controls.at(indexOf(id)) = std::move(control);
}

Value mainDialogInit(const Value& self, const Value& owner, const Value& extra) {
    RoutineFrame frame("MAINDIALOG:INIT");
    std::array<Value, 2> hookArgs{owner, extra};
    Send(self, kPreInit, hookArgs);

    std::array<Value, 3> baseArgs{owner, gui::makeResourceId(std::string("maindialog")),
                                  Value::logic(true)};
    SendClass(*self.asObject(), kMainDialog, kInit, baseArgs);

    // One bold font shared by every control but CALCULAR, which keeps the template's.
    std::array<Value, 3> fontArgs{Value(), Value::integer(8), Value("Microsoft Sans Serif")};
    Value font(CreateInstance(kFont, fontArgs));
    IVarPut(font, kBold, Value::logic(true));

    auto* dialog = objectAs<AccountDialog>(self);
    for (const ControlEntry& entry : kControls) {
        std::array<Value, 2> controlArgs{self,
                                         gui::makeResourceId(static_cast<std::uint32_t>(entry.id))};
        Value control(CreateInstance(*entry.className, controlArgs));
        if (dialog) {
            dialog->setControl(entry.id, control);
        }
        switch (entry.dressing) {
        case Dressing::FontPictureLabel:
            giveFont(control, font);
            IVarPut(control, kPicture, Value(entry.picture));
            giveLabel(control, entry);
            break;
        case Dressing::LabelFont:
            giveLabel(control, entry);
            giveFont(control, font);
            break;
        case Dressing::FontLabel:
            giveFont(control, font);
            giveLabel(control, entry);
            break;
        case Dressing::LabelOnly:
            giveLabel(control, entry);
            break;
        }
    }

    // The template names the digits display by its fixed text; the bank's name has none
    // beside it, so a screen reader is told what it shows.
    if (dialog) {
        IVarPut(dialog->control(MainDialogId::Nombre), kAccessibleName,
                Value(kBankNameDisplayName));
    }

    IVarPut(self, kCaption, Value(kMainDialogCaption));
    IVarPut(self, kHyperLabel, gui::makeHyperLabel(kMainDialog, kMainDialogCaption));
    IVarPut(self, kClassicKeys, Value::logic(true));
    Send(self, kPostInit, hookArgs);
    return self;
}

void declareAccountDialog() {
    if (!findClass(kDialogWindow)) {
        gui::declareGuiClasses();
    }
    registerMainDialogTemplate();
    auto self = [](Object& object) { return Value(object.reference()); };
    ClassDeclaration<AccountDialog> declaration("MAINDIALOG", "DIALOGWINDOW");
    declaration
        .method("INIT",
                [=](Object& o, Arguments args) {
                    return mainDialogInit(self(o), argumentAt(args, 0), argumentAt(args, 1));
                })
        .method("EDITFOCUSCHANGE",
                [=](Object& o, Arguments args) {
                    return mainDialogEditFocusChange(self(o), argumentAt(args, 0));
                })
        .method("EDITPASTEREFUSED",
                [=](Object& o, Arguments args) {
                    return mainDialogEditPasteRefused(self(o), argumentAt(args, 1));
                })
        .method("MIRABANCO", [=](Object& o, Arguments) { return mainDialogMiraBanco(self(o)); })
        .method("BUSCABANCO",
                [=](Object& o, Arguments) { return Value(mainDialogBuscaBanco(self(o))); })
        .method("CALCULAR", [=](Object& o, Arguments) { return mainDialogCalcular(self(o)); })
        .method("GRABAR", [=](Object& o, Arguments) { return mainDialogGrabar(self(o)); })
        .method("CANCELAR", [=](Object& o, Arguments) { return mainDialogCancelar(self(o)); })
        .method("CALCULADC",
                [=](Object& o, Arguments) { return Value::integer(mainDialogCalculaDc(self(o))); });
    for (const ControlEntry& entry : kControls) {
        declaration.property(entry.name->name(), [id = entry.id](const AccountDialog& dialog) {
            return dialog.control(id);
        });
    }
}

} // namespace cuentas
