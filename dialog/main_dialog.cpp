#include "dialog/main_dialog.h"

#include "platform/gui/gui.h"
#include "platform/runtime/call_stack.h"

namespace cuentas {
namespace {

// How INIT dresses one control: in which order it gets its font, mask and label record.
enum class Dressing { FontPictureLabel, LabelFont, FontLabel, LabelOnly };

struct ControlEntry {
    const char* name;
    const char* className;
    MainDialogId id;
    Dressing dressing;
    const char* picture;
    const char* caption; // of the label record
};

constexpr std::array<ControlEntry, 12> kControls{{
    {"BANCO", "SINGLELINEEDIT", MainDialogId::Banco, Dressing::FontPictureLabel, "9999", ""},
    {"SUCURSAL", "SINGLELINEEDIT", MainDialogId::Sucursal, Dressing::FontPictureLabel, "9999", ""},
    {"CUENTA", "SINGLELINEEDIT", MainDialogId::Cuenta, Dressing::FontPictureLabel, "9999999999",
     ""},
    {"GRABAR", "PUSHBUTTON", MainDialogId::Grabar, Dressing::LabelFont, "", "Grabar"},
    {"CANCELAR", "PUSHBUTTON", MainDialogId::Cancelar, Dressing::LabelFont, "", "Cancelar"},
    {"FIXEDTEXT1", "FIXEDTEXT", MainDialogId::FixedText1, Dressing::LabelFont, "", "N\xBA Banco :"},
    {"FTSUCURSAL", "FIXEDTEXT", MainDialogId::FtSucursal, Dressing::LabelFont, "",
     "N\xBA Sucursal :"},
    {"FIXEDTEXT3", "FIXEDTEXT", MainDialogId::FixedText3, Dressing::LabelFont, "",
     "D\xEDgitos Control :"},
    {"FIXEDTEXT4", "FIXEDTEXT", MainDialogId::FixedText4, Dressing::LabelFont, "",
     "N\xBA de cuenta :"},
    {"NOMBRE", "FIXEDTEXT", MainDialogId::Nombre, Dressing::FontLabel, "", ""},
    {"DC", "FIXEDTEXT", MainDialogId::Dc, Dressing::FontLabel, "", ""},
    {"CALCULAR", "PUSHBUTTON", MainDialogId::Calcular, Dressing::LabelOnly, "", "Calcular"},
}};

std::size_t indexOf(MainDialogId id) {
    return static_cast<std::size_t>(static_cast<int>(id) - static_cast<int>(MainDialogId::Banco));
}

Symbol sym(const char* name) {
    return Symbol::intern(name);
}

void giveFont(const Value& control, const Value& font) {
    std::array<Value, 2> args{font, Value::logic(false)};
    Send(control, sym("FONT"), args);
}

void giveLabel(const Value& control, const ControlEntry& entry) {
    IVarPut(control, sym("HYPERLABEL"), gui::makeHyperLabel(sym(entry.name), entry.caption));
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
    Send(self, sym("PREINIT"), hookArgs);

    std::array<Value, 3> baseArgs{owner, gui::makeResourceId(std::string("maindialog")),
                                  Value::logic(true)};
    SendClass(*self.asObject(), sym("MAINDIALOG"), sym("INIT"), baseArgs);

    // One bold font shared by every control but CALCULAR, which keeps the template's.
    std::array<Value, 3> fontArgs{Value(), Value::integer(8), Value("Microsoft Sans Serif")};
    Value font(CreateInstance(sym("FONT"), fontArgs));
    IVarPut(font, sym("BOLD"), Value::logic(true));

    auto* dialog = objectAs<AccountDialog>(self);
    for (const ControlEntry& entry : kControls) {
        std::array<Value, 2> controlArgs{self,
                                         gui::makeResourceId(static_cast<std::uint32_t>(entry.id))};
        Value control(CreateInstance(sym(entry.className), controlArgs));
        if (dialog) {
            dialog->setControl(entry.id, control);
        }
        switch (entry.dressing) {
        case Dressing::FontPictureLabel:
            giveFont(control, font);
            IVarPut(control, sym("PICTURE"), Value(entry.picture));
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
        IVarPut(dialog->control(MainDialogId::Nombre), sym("ACCESSIBLENAME"),
                Value(kBankNameDisplayName));
    }

    IVarPut(self, sym("CAPTION"), Value(kMainDialogCaption));
    IVarPut(self, sym("HYPERLABEL"), gui::makeHyperLabel(sym("MAINDIALOG"), kMainDialogCaption));
    IVarPut(self, sym("CLASSICKEYS"), Value::logic(true));
    Send(self, sym("POSTINIT"), hookArgs);
    return self;
}

void declareAccountDialog() {
    if (!findClass(sym("DIALOGWINDOW"))) {
        gui::declareGuiClasses();
    }
    registerMainDialogTemplate();
    auto self = [](Object& object) { return Value(object.reference()); };
    ClassInfo& info =
        DeclareClass("MAINDIALOG", "DIALOGWINDOW",
                     [](const ClassInfo& c) { return std::make_shared<AccountDialog>(c); })
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
            .method("CALCULADC", [=](Object& o, Arguments) {
                return Value::integer(mainDialogCalculaDc(self(o)));
            });
    for (const ControlEntry& entry : kControls) {
        info.property(entry.name, [id = entry.id](const Object& o) {
            const auto* dialog = dynamic_cast<const AccountDialog*>(&o);
            return dialog ? dialog->control(id) : Value();
        });
    }
}

} // namespace cuentas
