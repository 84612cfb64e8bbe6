#pragma once
// A dialog of a small template of its own, two edits, two buttons and a text, whose class notes
// its focus events, its refused pastes and its one command in the order they come; driven on
// either side of the GUI class library (tests/support/gui/dialog_driver.h).

#include "platform/gui/gui.h"
#include "tests/support/gui/dialog_driver.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace cuentas::gui {

inline constexpr int kFirst = 200, kSecond = 201, kAccept = 202, kText = 203, kIdle = 204;

class RecordingDialog : public DialogWindow {
public:
    using DialogWindow::DialogWindow;
    std::vector<std::string> log;
    // The dialog's answer to a refused paste; FALSE when unset.
    std::function<bool(const Value& edit, const std::string& text)> onRefusedPaste;
};

inline Symbol sym(const char* name) {
    return Symbol::intern(name);
}

inline void declareTestDialog() {
    declareGuiClasses();
    DialogTemplate t;
    t.rect = {10, 10, 160, 60};
    t.style = 0x80CA08C4;
    t.caption = "Prueba \xD1";
    t.font = FontDefinition{"MS Shell Dlg", 8};
    t.controls = {
        {ControlClass::Edit, kFirst, {10, 10, 40, 12}, 0x50810080, 0x200, ""},
        {ControlClass::Edit, kSecond, {10, 30, 40, 12}, 0x50810080, 0x200, ""},
        {ControlClass::Button, kAccept, {60, 10, 40, 14}, 0x50010000, 0, "Aceptar"},
        {ControlClass::Static, kText, {60, 30, 60, 10}, 0x50800001, 0, "texto"},
        {ControlClass::Button, kIdle, {110, 10, 40, 14}, 0x50010000, 0, "Nada"},
    };
    registerDialogTemplate("GuiTest", t);
    DeclareClass("RECORDINGDIALOG", "DIALOGWINDOW",
                 [](const ClassInfo& info) { return std::make_shared<RecordingDialog>(info); })
        .method("EDITFOCUSCHANGE",
                [](Object& self, Arguments args) {
                    Value control = IVarGet(args[0], sym("CONTROL"));
                    bool got = IVarGet(args[0], sym("GOTFOCUS")).asLogic();
                    static_cast<RecordingDialog&>(self).log.push_back(
                        (got ? "got " : "lost ") +
                        IVarGet(control, sym("NAMESYM")).asSymbol().name());
                    return SendClass(self, sym("RECORDINGDIALOG"), sym("EDITFOCUSCHANGE"), args);
                })
        .method("EDITPASTEREFUSED",
                [](Object& self, Arguments args) {
                    auto& recording = static_cast<RecordingDialog&>(self);
                    recording.log.push_back("paste " +
                                            IVarGet(args[0], sym("NAMESYM")).asSymbol().name() +
                                            " " + std::string(args[1].asString()));
                    return Value::logic(
                        recording.onRefusedPaste &&
                        recording.onRefusedPaste(args[0], std::string(args[1].asString())));
                })
        .method("ACEPTAR", [](Object& self, Arguments) {
            static_cast<RecordingDialog&>(self).log.push_back("ACEPTAR");
            return Value();
        });
}

// Pastes into the first edit, whose mask is "9999", and what comes of them; the dialog takes
// the paste "tomado" and declines any other the mask refuses.
struct PasteCase {
    const char* before; // the edit's text, all of it selected when `selected`
    bool selected;
    const char* pasted;
    const char* after;
    std::vector<std::string> log;
};

inline const std::vector<PasteCase>& pasteCases() {
    static const std::vector<PasteCase> cases = {
        // What the edit admits is pasted as always, and the dialog hears nothing of it.
        {"", false, "12", "12", {}},
        {"1", false, "234", "1234", {}},
        {"1234", true, "5678", "5678", {}},
        // Refused whole: the dialog may decline, and the edit does as it always did.
        {"", false, "12a", "", {"paste FIRST 12a"}},
        {"12", false, "345", "1234", {"paste FIRST 345"}},
        {"", false, "es 12", "", {"paste FIRST es 12"}},
        // Invisible formatting characters do not reach the dialog.
        {"", false, "es\u200B 12", "", {"paste FIRST es 12"}},
        // Or take it.
        {"99", false, "tomado", "0042", {"paste FIRST tomado"}},
    };
    return cases;
}

class DialogWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::startGuiToolkit();
        declareTestDialog();
        std::array<Value, 3> args{Value(), makeResourceId(std::string("guitest")),
                                  Value::logic(true)};
        dialog = Value(CreateInstance(sym("RECORDINGDIALOG"), args));
        window = objectAs<RecordingDialog>(dialog);
        driver = testing::driveDialog(dialog);
        ASSERT_NE(driver, nullptr);
        bind("SINGLELINEEDIT", kFirst, "FIRST");
        bind("SINGLELINEEDIT", kSecond, "SECOND");
        bind("PUSHBUTTON", kAccept, "ACEPTAR");
        bind("FIXEDTEXT", kText, "TEXT");
        bind("PUSHBUTTON", kIdle, "IDLE");
    }

    Value bind(const char* className, int id, const char* name) {
        std::array<Value, 2> args{dialog, makeResourceId(static_cast<std::uint32_t>(id))};
        Value control(CreateInstance(sym(className), args));
        IVarPut(control, sym("HYPERLABEL"), makeHyperLabel(sym(name), ""));
        controls[id] = control;
        return control;
    }

    // Runs the dialog modally; `actions` play the user inside its event loop. A dialog the
    // actions leave open is closed afterwards and reported by `leftOpen`.
    int run(const std::function<void()>& actions) {
        const int result = driver->run(actions);
        leftOpen = driver->leftOpen();
        return result;
    }

    // The first edit masked and the dialog answering refused pastes as pasteCases() expects.
    void preparePasteCases() {
        IVarPut(controls[kFirst], sym("PICTURE"), Value("9999"));
        window->onRefusedPaste = [](const Value& edit, const std::string& text) {
            if (text != "tomado") {
                return false;
            }
            IVarPut(edit, sym("TEXTVALUE"), Value("0042"));
            return true;
        };
    }

    Value dialog;
    RecordingDialog* window = nullptr;
    std::unique_ptr<testing::DialogDriver> driver;
    std::map<int, Value> controls;
    bool leftOpen = false;
};

} // namespace cuentas::gui
