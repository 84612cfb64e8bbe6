// DIALOGWINDOW and its controls as a program and a user meet them, on the side the build has.
#include "platform/runtime/raise.h"
#include "tests/platform/gui/dialog_window_fixture.h"
#include "tests/support/recording_errors.h"

namespace cuentas::gui {
namespace {

// Within one pixel on every side.
bool near(const PixelRect& a, const PixelRect& b) {
    auto close = [](int x, int y) { return x - y <= 1 && y - x <= 1; };
    return close(a.x, b.x) && close(a.y, b.y) && close(a.width, b.width) &&
           close(a.height, b.height);
}

TEST_F(DialogWindowTest, ControlsKeepTheirTemplateRectanglesAfterANewFont) {
    Value font = makeFont(FontFamily::Any, 14, "Microsoft Sans Serif");
    IVarPut(font, sym("BOLD"), Value::logic(true));
    const DialogTemplate& t = *window->dialogTemplate();
    for (const ControlTemplate& c : t.controls) {
        std::array<Value, 2> args{font, Value::logic(false)};
        EXPECT_EQ(Send(controls[c.id], sym("FONT"), args).asObject(), font.asObject());
    }
    const BaseUnits units = testing::measuredBaseUnits(t.font);
    run([&] {
        for (const ControlTemplate& c : t.controls) {
            EXPECT_TRUE(near(driver->rect(c.id), toPixels(c.rect, units))) << c.id;
        }
        EXPECT_TRUE(near(driver->clientRect(), toPixels({0, 0, 160, 60}, units)));
    });
}

TEST_F(DialogWindowTest, TextsCrossAsWindows1252) {
    EXPECT_EQ(IVarGet(dialog, sym("CAPTION")).asString(), "Prueba \xD1");
    const std::string text = "<b>Espa\xF1"
                             "a</b> & \x80";
    IVarPut(controls[kText], sym("CAPTION"), Value(text));
    EXPECT_EQ(IVarGet(controls[kText], sym("CAPTION")).asString(), text);
    EXPECT_EQ(IVarGet(controls[kAccept], sym("CAPTION")).asString(), "Aceptar");
    run([&] {
        EXPECT_EQ(driver->text(kText), text);
        EXPECT_EQ(IVarGet(dialog, sym("CAPTION")).asString(), "Prueba \xD1");
        IVarPut(controls[kFirst], sym("TEXTVALUE"), Value("\xD1"));
        EXPECT_EQ(driver->text(kFirst), "\xD1");
    });
    // What the window showed is kept when it is gone.
    EXPECT_EQ(IVarGet(controls[kFirst], sym("TEXTVALUE")).asString(), "\xD1");
}

TEST_F(DialogWindowTest, AMaskRefusesAssignedTextThatBreaksIt) {
    IVarPut(controls[kFirst], sym("PICTURE"), Value("9999"));
    EXPECT_EQ(IVarPut(controls[kFirst], sym("TEXTVALUE"), Value("0049")).asString(), "0049");
    EXPECT_EQ(IVarPut(controls[kFirst], sym("TEXTVALUE"), Value("12a4")).asString(), "0049");
    EXPECT_EQ(IVarPut(controls[kFirst], sym("TEXTVALUE"), Value("12345")).asString(), "0049");
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
        EXPECT_EQ(driver->focused(), kFirst);
        std::vector<int> seen;
        for (int i = 0; i < 4; ++i) {
            driver->tab();
            seen.push_back(driver->focused());
        }
        EXPECT_EQ(seen, (std::vector<int>{kSecond, kAccept, kIdle, kFirst}));
    });
    EXPECT_EQ(window->log, (std::vector<std::string>{"got FIRST", "lost FIRST", "got SECOND",
                                                     "lost SECOND", "got FIRST"}));
}

TEST_F(DialogWindowTest, AnEditsFocusLossRunsOnThePressAndTheCommandOnTheRelease) {
    run([&] {
        driver->type("12");
        window->log.clear();
        driver->press(kAccept);
        EXPECT_EQ(window->log, (std::vector<std::string>{"lost FIRST"}));
        driver->release(kAccept);
        EXPECT_EQ(window->log, (std::vector<std::string>{"lost FIRST", "ACEPTAR"}));
    });
}

TEST_F(DialogWindowTest, ClassicKeysMoveOnWithEnterAndPressButtons) {
    IVarPut(dialog, sym("CLASSICKEYS"), Value::logic(true));
    EXPECT_TRUE(IVarGet(dialog, sym("CLASSICKEYS")).asLogic());
    run([&] {
        driver->enter();
        EXPECT_EQ(driver->focused(), kSecond);
        driver->keypadEnter();
        EXPECT_EQ(driver->focused(), kAccept);
        window->log.clear();
        driver->enter();
        driver->space();
        EXPECT_EQ(window->log, (std::vector<std::string>{"ACEPTAR", "ACEPTAR"}));
    });
    EXPECT_TRUE(leftOpen);
}

TEST_F(DialogWindowTest, WithoutClassicKeysEnterStaysInTheEdit) {
    run([&] {
        driver->enter();
        EXPECT_EQ(driver->focused(), kFirst);
        EXPECT_EQ(window->log, (std::vector<std::string>{"got FIRST"}));
    });
    EXPECT_TRUE(leftOpen);
}

TEST_F(DialogWindowTest, AButtonWithoutAMethodOfItsNameDoesNothing) {
    run([&] {
        window->log.clear();
        driver->click(kIdle);
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
    EXPECT_EQ(run([&] { driver->escape(); }), kClosedDialogResult);
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(run([&] { driver->closeBox(); }), kClosedDialogResult);
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(IVarGet(dialog, sym("RESULT")).asInteger(), kClosedDialogResult);
    // Ending it reports no focus loss either way.
    EXPECT_EQ(window->log, (std::vector<std::string>{"got FIRST", "got FIRST"}));
}

TEST_F(DialogWindowTest, APasteTheMaskWouldRefuseIsOfferedToTheDialogFirst) {
    preparePasteCases();
    for (const PasteCase& c : pasteCases()) {
        SCOPED_TRACE(c.pasted);
        run([&] {
            IVarPut(controls[kFirst], sym("TEXTVALUE"), Value(c.before));
            if (c.selected) {
                driver->selectAll();
            } else {
                driver->end();
            }
            window->log.clear();
            driver->paste(kFirst, c.pasted);
            EXPECT_EQ(driver->text(kFirst), c.after);
            EXPECT_EQ(window->log, c.log);
        });
    }
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
    EXPECT_EQ(IVarGet(controls[kText], sym("ACCESSIBLENAME")).asString(), "");
    EXPECT_EQ(IVarPut(controls[kText], sym("ACCESSIBLENAME"), Value("Estado \xD1")).asString(),
              "Estado \xD1");
    EXPECT_EQ(IVarGet(controls[kText], sym("ACCESSIBLENAME")).asString(), "Estado \xD1");
    // Without a fixed text before them, the template names neither edit.
    EXPECT_EQ(IVarGet(controls[kFirst], sym("ACCESSIBLENAME")).asString(), "");
}

TEST(DialogWindowErrors, MisusesRaiseRuntimeErrorsWithClearDescriptions) {
    testing::startGuiToolkit();
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
