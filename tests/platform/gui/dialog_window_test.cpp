#include "platform/gui/gui.h"
#include "platform/gui/qt_text.h"
#include "platform/runtime/raise.h"
#include "tests/support/gui_application.h"
#include "tests/support/recording_errors.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace cuentas::gui {
namespace {

constexpr int kFirst = 200, kSecond = 201, kAccept = 202, kText = 203, kIdle = 204;

// A dialog that notes its focus events and its one command, in the order they come.
class RecordingDialog : public DialogWindow {
public:
    using DialogWindow::DialogWindow;
    std::vector<std::string> log;
};

Symbol sym(const char* name) {
    return Symbol::intern(name);
}

void declareTestDialog() {
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
        .method("ACEPTAR", [](Object& self, Arguments) {
            static_cast<RecordingDialog&>(self).log.push_back("ACEPTAR");
            return Value();
        });
}

class DialogWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::guiApplication();
        declareTestDialog();
        std::array<Value, 3> args{Value(), makeResourceId(std::string("guitest")),
                                  Value::logic(true)};
        dialog = Value(CreateInstance(sym("RECORDINGDIALOG"), args));
        window = objectAs<RecordingDialog>(dialog);
        ASSERT_NE(window->widget(), nullptr);
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

    TemplateDialog& widget() { return *window->widget(); }
    template <class T> T* control(int id) { return qobject_cast<T*>(widget().control(id)); }

    // Runs the dialog modally; `actions` play the user inside its event loop. A dialog the
    // actions leave open is closed afterwards and reported by `leftOpen`.
    int run(const std::function<void()>& actions) {
        leftOpen = false;
        QTimer::singleShot(0, &widget(), [&] {
            EXPECT_TRUE(QTest::qWaitForWindowActive(&widget()));
            actions();
            if (widget().isVisible()) {
                leftOpen = true;
                widget().done(-1);
            }
        });
        return Send(dialog, sym("SHOW")).asInteger();
    }

    Value dialog;
    RecordingDialog* window = nullptr;
    std::map<int, Value> controls;
    bool leftOpen = false;
};

TEST_F(DialogWindowTest, ControlsKeepTheirTemplateRectanglesAfterANewFont) {
    const BaseUnits units = widget().baseUnits();
    Value font = makeFont(FontFamily::Any, 14, "Microsoft Sans Serif");
    IVarPut(font, sym("BOLD"), Value::logic(true));
    for (const ControlTemplate& c : widget().dialogTemplate().controls) {
        std::array<Value, 2> args{font, Value::logic(false)};
        EXPECT_EQ(Send(controls[c.id], sym("FONT"), args).asObject(), font.asObject());
        EXPECT_EQ(widget().control(c.id)->geometry(), toPixels(c.rect, units)) << c.id;
        EXPECT_EQ(widget().control(c.id)->font().pixelSize(), 19) << c.id;
        EXPECT_TRUE(widget().control(c.id)->font().bold()) << c.id;
    }
    EXPECT_EQ(widget().size(), toPixels({0, 0, 160, 60}, units).size());
    EXPECT_EQ(widget().minimumSize(), widget().maximumSize());
}

TEST_F(DialogWindowTest, TextsCrossIntoQtAsWindows1252) {
    EXPECT_EQ(widget().windowTitle(), QString::fromUtf8("Prueba \u00D1"));
    EXPECT_EQ(IVarGet(dialog, sym("CAPTION")).asString(), "Prueba \xD1");
    IVarPut(controls[kText], sym("CAPTION"),
            Value("<b>Espa\xF1"
                  "a</b> & \x80"));
    EXPECT_EQ(control<QLabel>(kText)->text(), QString::fromUtf8("<b>Espa\u00F1a</b> & \u20AC"));
    EXPECT_EQ(control<QLabel>(kText)->textFormat(), Qt::PlainText);
    EXPECT_EQ(IVarGet(controls[kText], sym("CAPTION")).asString(), "<b>Espa\xF1"
                                                                   "a</b> & \x80");
    EXPECT_EQ(IVarGet(controls[kAccept], sym("CAPTION")).asString(), "Aceptar");
}

TEST_F(DialogWindowTest, AMaskRefusesAssignedTextThatBreaksIt) {
    IVarPut(controls[kFirst], sym("PICTURE"), Value("9999"));
    EXPECT_EQ(IVarPut(controls[kFirst], sym("TEXTVALUE"), Value("0049")).asString(), "0049");
    EXPECT_EQ(IVarPut(controls[kFirst], sym("TEXTVALUE"), Value("12a4")).asString(), "0049");
    EXPECT_EQ(IVarPut(controls[kFirst], sym("TEXTVALUE"), Value("12345")).asString(), "0049");
    EXPECT_EQ(control<QLineEdit>(kFirst)->maxLength(), 4);
    EXPECT_EQ(IVarGet(controls[kFirst], sym("PICTURE")).asString(), "9999");
}

TEST_F(DialogWindowTest, LabelRecordsNameTheControlsAndTheDialog) {
    EXPECT_EQ(IVarGet(controls[kSecond], sym("NAMESYM")).asSymbol(), sym("SECOND"));
    EXPECT_EQ(IVarGet(controls[kSecond], sym("ID")).asInteger(), kSecond);
    EXPECT_EQ(IVarGet(controls[kSecond], sym("OWNER")).asObject(), dialog.asObject());
    Value label = makeHyperLabel(sym("GUITEST"), "Prueba", "descr", "ayuda");
    IVarPut(dialog, sym("HYPERLABEL"), label);
    EXPECT_EQ(IVarGet(dialog, sym("NAMESYM")).asSymbol(), sym("GUITEST"));
    EXPECT_EQ(IVarGet(label, sym("CAPTION")).asString(), "Prueba");
    EXPECT_EQ(IVarGet(label, sym("DESCRIPTION")).asString(), "descr");
    EXPECT_EQ(IVarGet(label, sym("HELPCONTEXT")).asString(), "ayuda");
}

TEST_F(DialogWindowTest, FocusStartsInTheFirstTabStopAndTabFollowsTheTemplate) {
    run([&] {
        EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>(kFirst));
        std::vector<QWidget*> seen;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen.push_back(QApplication::focusWidget());
        }
        EXPECT_EQ(seen,
                  (std::vector<QWidget*>{control<QLineEdit>(kSecond), control<QPushButton>(kAccept),
                                         control<QPushButton>(kIdle), control<QLineEdit>(kFirst)}));
    });
    EXPECT_EQ(window->log, (std::vector<std::string>{"got FIRST", "lost FIRST", "got SECOND",
                                                     "lost SECOND", "got FIRST"}));
}

TEST_F(DialogWindowTest, AnEditsFocusLossRunsOnThePressAndTheCommandOnTheRelease) {
    run([&] {
        QTest::keyClicks(control<QLineEdit>(kFirst), "12");
        window->log.clear();
        QPushButton* accept = control<QPushButton>(kAccept);
        QTest::mousePress(accept, Qt::LeftButton);
        EXPECT_EQ(window->log, (std::vector<std::string>{"lost FIRST"}));
        QTest::mouseRelease(accept, Qt::LeftButton);
        EXPECT_EQ(window->log, (std::vector<std::string>{"lost FIRST", "ACEPTAR"}));
    });
}

TEST_F(DialogWindowTest, ClassicKeysMoveOnWithEnterAndPressButtons) {
    IVarPut(dialog, sym("CLASSICKEYS"), Value::logic(true));
    EXPECT_TRUE(IVarGet(dialog, sym("CLASSICKEYS")).asLogic());
    run([&] {
        QTest::keyClick(control<QLineEdit>(kFirst), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>(kSecond));
        QTest::keyClick(control<QLineEdit>(kSecond), Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(QApplication::focusWidget(), control<QPushButton>(kAccept));
        window->log.clear();
        QTest::keyClick(control<QPushButton>(kAccept), Qt::Key_Return);
        QTest::keyClick(control<QPushButton>(kAccept), Qt::Key_Space);
        EXPECT_EQ(window->log, (std::vector<std::string>{"ACEPTAR", "ACEPTAR"}));
    });
    EXPECT_TRUE(leftOpen);
}

TEST_F(DialogWindowTest, WithoutClassicKeysEnterStaysInTheEdit) {
    run([&] {
        QTest::keyClick(control<QLineEdit>(kFirst), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>(kFirst));
        EXPECT_EQ(window->log, (std::vector<std::string>{"got FIRST"}));
    });
    EXPECT_TRUE(leftOpen);
}

TEST_F(DialogWindowTest, AButtonWithoutAMethodOfItsNameDoesNothing) {
    run([&] {
        window->log.clear();
        QTest::mouseClick(control<QPushButton>(kIdle), Qt::LeftButton);
        EXPECT_EQ(window->log, (std::vector<std::string>{"lost FIRST"}));
    });
    EXPECT_TRUE(leftOpen);
}

TEST_F(DialogWindowTest, ShowReturnsTheCodeOfEndDialog) {
    int result = run([&] {
        std::array<Value, 1> code{Value::integer(7)};
        Send(dialog, sym("ENDDIALOG"), code);
    });
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(result, 7);
    EXPECT_EQ(IVarGet(dialog, sym("RESULT")).asInteger(), 7);
    // Ending the dialog reports no focus loss of the edit that had the focus.
    EXPECT_EQ(window->log, (std::vector<std::string>{"got FIRST"}));
}

TEST_F(DialogWindowTest, EscapeAndTheCloseBoxEndTheDialogAlike) {
    EXPECT_EQ(run([&] { QTest::keyClick(control<QLineEdit>(kFirst), Qt::Key_Escape); }),
              TemplateDialog::kClosedResult);
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(run([&] { widget().close(); }), TemplateDialog::kClosedResult);
    EXPECT_FALSE(leftOpen);
}

TEST_F(DialogWindowTest, StylesShowAsFramesAndAlignment) {
    EXPECT_TRUE(control<QLineEdit>(kFirst)->hasFrame());
    EXPECT_EQ(control<QLabel>(kText)->frameShape(), QFrame::Box);
    EXPECT_EQ(control<QLabel>(kText)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(control<QPushButton>(kAccept)->focusPolicy(), Qt::StrongFocus);
    EXPECT_FALSE(control<QPushButton>(kAccept)->autoDefault());
    EXPECT_EQ(control<QLabel>(kText)->focusPolicy(), Qt::NoFocus);
    const Qt::WindowFlags flags = widget().windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
}

TEST(DialogWindowErrors, MisusesRaiseRuntimeErrorsWithClearDescriptions) {
    testing::guiApplication();
    declareTestDialog();
    testing::RecordingErrors errors;
    std::array<Value, 3> unknown{Value(), makeResourceId(std::string("nosuch")),
                                 Value::logic(true)};
    Value missing(CreateInstance(sym("DIALOGWINDOW"), unknown));
    EXPECT_EQ(objectAs<DialogWindow>(missing)->widget(), nullptr);
    EXPECT_TRUE(Send(missing, sym("SHOW")).isNil());

    std::array<Value, 3> good{Value(), makeResourceId(std::string("GUITEST")), Value::logic(true)};
    Value dialog(CreateInstance(sym("DIALOGWINDOW"), good));
    std::array<Value, 2> noId{dialog, makeResourceId(std::uint32_t{999})};
    CreateInstance(sym("SINGLELINEEDIT"), noId);
    std::array<Value, 2> wrongKind{dialog, makeResourceId(std::uint32_t{kAccept})};
    CreateInstance(sym("SINGLELINEEDIT"), wrongKind);
    std::array<Value, 2> noOwner{Value("no dialog"), makeResourceId(std::uint32_t{kFirst})};
    CreateInstance(sym("SINGLELINEEDIT"), noOwner);

    ASSERT_EQ(errors.errors.size(), 4u);
    EXPECT_EQ(errors.errors[0].description, "Dialog template not found");
    EXPECT_EQ(errors.errors[0].genCode, gencode::kArgument);
    EXPECT_EQ(errors.errors[1].description, "Control id not in the dialog template");
    EXPECT_EQ(errors.errors[2].description, "Control id is not an edit in the dialog template");
    EXPECT_EQ(errors.errors[2].genCode, gencode::kWrongClass);
    EXPECT_EQ(errors.errors[3].description, "Control owner is not a dialog window");
}

} // namespace
} // namespace cuentas::gui
