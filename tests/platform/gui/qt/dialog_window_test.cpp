#include "platform/gui/gui.h"
#include "platform/gui/qt/fonts.h"
#include "platform/gui/qt/qt_dialog.h"
#include "platform/gui/qt/qt_text.h"
#include "platform/runtime/raise.h"
#include "tests/support/gui_application.h"
#include "tests/support/recording_errors.h"

#include <QAccessible>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
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
    // The dialog's answer to a refused paste; FALSE when unset.
    std::function<bool(const Value& edit, const std::string& text)> onRefusedPaste;
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

class DialogWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::guiApplication();
        declareTestDialog();
        std::array<Value, 3> args{Value(), makeResourceId(std::string("guitest")),
                                  Value::logic(true)};
        dialog = Value(CreateInstance(sym("RECORDINGDIALOG"), args));
        window = objectAs<RecordingDialog>(dialog);
        ASSERT_NE(templateDialogOf(*window), nullptr);
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

    TemplateDialog& widget() { return *templateDialogOf(*window); }
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
        EXPECT_EQ(widget().control(c.id)->geometry(), toQRect(toPixels(c.rect, units))) << c.id;
        EXPECT_EQ(widget().control(c.id)->font().pixelSize(), 19) << c.id;
        EXPECT_TRUE(widget().control(c.id)->font().bold()) << c.id;
    }
    EXPECT_EQ(widget().size(), toQRect(toPixels({0, 0, 160, 60}, units)).size());
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

// The ways a user pastes into an edit.
enum class PasteBy { ControlV, ShiftInsert, ContextMenu };

void pasteInto(QLineEdit* edit, PasteBy how) {
    switch (how) {
    case PasteBy::ControlV:
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        return;
    case PasteBy::ShiftInsert:
        QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
        return;
    case PasteBy::ContextMenu: {
        QContextMenuEvent event(QContextMenuEvent::Keyboard, edit->rect().center(),
                                edit->mapToGlobal(edit->rect().center()));
        QApplication::sendEvent(edit, &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            if (action->text().startsWith("&Paste")) {
                action->trigger();
            }
        }
        menu->close();
        return;
    }
    }
}

TEST_F(DialogWindowTest, APasteTheMaskWouldRefuseIsOfferedToTheDialogFirst) {
    IVarPut(controls[kFirst], sym("PICTURE"), Value("9999"));
    window->onRefusedPaste = [](const Value& edit, const std::string& text) {
        if (text != "tomado") {
            return false;
        }
        IVarPut(edit, sym("TEXTVALUE"), Value("0042"));
        return true;
    };
    struct Case {
        const char* before; // the edit's text, all of it selected when `selected`
        bool selected;
        const char* pasted;
        const char* after;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        // What the edit admits is pasted as always, and the dialog hears nothing of it.
        {"", false, "12", "12", {}},
        {"1", false, "234", "1234", {}},
        {"1234", true, "5678", "5678", {}},
        // Refused whole: the dialog may decline, and the edit does as it always did.
        {"", false, "12a", "", {"paste FIRST 12a"}},
        {"12", false, "345", "1234", {"paste FIRST 345"}},
        {"", false, "es 12", "", {"paste FIRST es 12"}},
        // Or take it.
        {"99", false, "tomado", "0042", {"paste FIRST tomado"}},
    };
    for (PasteBy how : {PasteBy::ControlV, PasteBy::ShiftInsert, PasteBy::ContextMenu}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.pasted) + " by " + std::to_string(static_cast<int>(how)));
            run([&] {
                QLineEdit* edit = control<QLineEdit>(kFirst);
                edit->setText(c.before);
                if (c.selected) {
                    edit->selectAll();
                }
                QApplication::clipboard()->setText(c.pasted);
                window->log.clear();
                pasteInto(edit, how);
                EXPECT_EQ(edit->text(), c.after);
                EXPECT_EQ(window->log, c.log);
            });
        }
    }
}

TEST_F(DialogWindowTest, AMessageAboutAPasteIsNoLossOfTheEditsFocus) {
    IVarPut(controls[kFirst], sym("PICTURE"), Value("9999"));
    window->onRefusedPaste = [](const Value&, const std::string&) {
        QMessageBox box(QMessageBox::Critical, "Pegar", "No vale");
        QTimer::singleShot(0, &box, &QMessageBox::accept);
        box.exec();
        return true;
    };
    run([&] {
        QApplication::clipboard()->setText("no vale");
        pasteInto(control<QLineEdit>(kFirst), PasteBy::ControlV);
        // The offscreen platform gives the window back its activation only when asked.
        widget().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&widget()));
        EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>(kFirst));
        QTest::keyClick(control<QLineEdit>(kFirst), Qt::Key_Tab);
    });
    EXPECT_EQ(window->log, (std::vector<std::string>{"got FIRST", "paste FIRST no vale",
                                                     "lost FIRST", "got SECOND"}));
}

TEST_F(DialogWindowTest, WithoutAnAnswerOfItsOwnADialogRefusesThePasteAsTheEditWould) {
    std::array<Value, 3> args{Value(), makeResourceId(std::string("guitest")), Value::logic(true)};
    Value plain(CreateInstance(sym("DIALOGWINDOW"), args));
    std::array<Value, 2> editArgs{plain, makeResourceId(std::uint32_t{kFirst})};
    Value edit(CreateInstance(sym("SINGLELINEEDIT"), editArgs));
    IVarPut(edit, sym("PICTURE"), Value("9999"));
    std::array<Value, 2> pasted{edit, Value("ES91")};
    Value answer = Send(plain, sym("EDITPASTEREFUSED"), pasted);
    EXPECT_TRUE(answer.isLogic());
    EXPECT_FALSE(answer.asLogic());
}

TEST_F(DialogWindowTest, AProgramMayNameAControlForScreenReaders) {
    QAccessibleInterface* text = QAccessible::queryAccessibleInterface(control<QLabel>(kText));
    EXPECT_EQ(text->text(QAccessible::Name), "texto");
    EXPECT_EQ(text->text(QAccessible::Value), "");
    EXPECT_EQ(IVarGet(controls[kText], sym("ACCESSIBLENAME")).asString(), "");
    EXPECT_EQ(IVarPut(controls[kText], sym("ACCESSIBLENAME"), Value("Estado \xD1")).asString(),
              "Estado \xD1");
    EXPECT_EQ(text->text(QAccessible::Name), QString::fromUtf8("Estado \u00D1"));
    IVarPut(controls[kText], sym("CAPTION"), Value("listo"));
    EXPECT_EQ(text->text(QAccessible::Value), "listo");
    EXPECT_EQ(control<QWidget>(kText)->accessibleName(), QString::fromUtf8("Estado \u00D1"));
    // Without a fixed text before them, the template names neither edit.
    EXPECT_EQ(IVarGet(controls[kFirst], sym("ACCESSIBLENAME")).asString(), "");
}

TEST(DialogWindowErrors, MisusesRaiseRuntimeErrorsWithClearDescriptions) {
    testing::guiApplication();
    declareTestDialog();
    testing::RecordingErrors errors;
    std::array<Value, 3> unknown{Value(), makeResourceId(std::string("nosuch")),
                                 Value::logic(true)};
    Value missing(CreateInstance(sym("DIALOGWINDOW"), unknown));
    EXPECT_EQ(objectAs<DialogWindow>(missing)->nativeDialog(), nullptr);
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
