#include "platform/gui/message_boxes.h"
#include "platform/os/os.h"
#include "platform/runtime/error_box.h"
#include "platform/runtime/runtime.h"
#include "platform/sound/sound.h"
#include "tests/support/recording_os.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace cuentas {
namespace {

QApplication& application() {
    static int argc = 1;
    static char name[] = "message_box_test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

// Answers the next modal box as a user would: notes its buttons, then clicks the one whose
// label is `label` (or closes the box when the label is empty).
struct BoxAnswer {
    QString label;
    QStringList seenButtons;
    QString seenTitle;
    QString seenText;

    void arm() {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                return;
            }
            seenTitle = box->windowTitle();
            seenText = box->text();
            QAbstractButton* chosen = nullptr;
            for (QAbstractButton* button : box->buttons()) {
                seenButtons << button->text();
                if (button->text() == label) {
                    chosen = button;
                }
            }
            if (chosen) {
                chosen->click();
            } else {
                box->reject();
            }
        });
    }
};

struct ErrorBoxCase {
    ErrorBoxButtons buttons;
    QString click;
    QStringList expectedButtons;
    std::uint32_t expectedAnswer;
};

TEST(ErrorMessageBox, OffersAButtonForEachNonZeroCodeAndReturnsTheChosenCode) {
    application();
    const std::vector<ErrorBoxCase> cases{
        {{1, 2, 0x80000000}, "&Retry", {"&Default", "&Retry", "&Quit"}, 2},
        {{1, 2, 0x80000000}, "&Default", {"&Default", "&Retry", "&Quit"}, 1},
        {{1, 2, 0x80000003}, "&Break", {"&Default", "&Retry", "&Break"}, 0x80000003},
        {{0, 2, 0x80000000}, "&Quit", {"&Retry", "&Quit"}, 0x80000000},
        {{1, 0, 0x80000000}, "", {"&Default", "&Quit"}, 0x80000000}, // closed: gives up
        {{0, 0, 0x80000003}, "&Break", {"&Break"}, 0x80000003},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expectedButtons.join(",").toStdString());
        BoxAnswer answer{c.click, {}, {}, {}};
        answer.arm();
        EXPECT_EQ(
            gui::showErrorMessageBox("Error Code:  21 [ OPEN ERROR ]\r\n", "ERROR", c.buttons),
            c.expectedAnswer);
        QStringList sorted = answer.seenButtons;
        QStringList expected = c.expectedButtons;
        sorted.sort();
        expected.sort();
        EXPECT_EQ(sorted, expected);
        EXPECT_EQ(answer.seenTitle, "ERROR");
    }
}

TEST(ErrorMessageBox, ThePlainBoxHasOnlyAnOkButtonAndShowsTheTextInUnicode) {
    application();
    BoxAnswer answer{"OK", {}, {}, {}};
    answer.arm();
    EXPECT_EQ(gui::showMessageBox("C\xE1lculo", "FROM DefErrorGen", kMessageBoxOk), 1);
    ASSERT_EQ(answer.seenButtons.size(), 1);
    EXPECT_EQ(answer.seenButtons[0].remove('&'), "OK");
    EXPECT_EQ(answer.seenText, QString::fromUtf8("C\u00e1lculo"));
    EXPECT_EQ(answer.seenTitle, "FROM DefErrorGen");
}

// What a screen reader reads of the next modal box: its role, title and text, and the names of
// its buttons in order. The box is then closed.
struct ReadOut {
    QAccessible::Role role = QAccessible::NoRole;
    QString title;
    QString text;
    QStringList buttons;

    void arm() {
        QTimer::singleShot(0, [this] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box) {
                return;
            }
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(box);
            role = iface->role();
            title = iface->text(QAccessible::Name);
            text = iface->text(QAccessible::Value);
            collectButtons(iface);
            static_cast<QDialog*>(box)->reject();
        });
    }
    void collectButtons(QAccessibleInterface* iface) {
        for (int i = 0; i < iface->childCount(); ++i) {
            QAccessibleInterface* child = iface->child(i);
            if (child->role() == QAccessible::Button) {
                buttons << child->text(QAccessible::Name);
            }
            collectButtons(child);
        }
    }
};

TEST(ErrorMessageBox, BothBoxesAreReadOutAsAlertsWithTitleTextAndButtonNames) {
    application();
    ReadOut plain;
    plain.arm();
    gui::showMessageBox("No se ha podido grabar el fichero", "C\xE1lculo", kMessageBoxIconError);
    EXPECT_EQ(plain.role, QAccessible::AlertMessage);
    EXPECT_EQ(plain.title, QString::fromUtf8("C\u00e1lculo"));
    EXPECT_EQ(plain.text, "No se ha podido grabar el fichero");
    EXPECT_EQ(plain.buttons, QStringList{"OK"});

    ReadOut error;
    error.arm();
    gui::showErrorMessageBox("Error Code:  21 [ OPEN ERROR ]", "ERROR", {1, 2, 0x80000003});
    EXPECT_EQ(error.role, QAccessible::AlertMessage);
    EXPECT_EQ(error.title, "ERROR");
    EXPECT_EQ(error.text, "Error Code:  21 [ OPEN ERROR ]");
    // Spoken without the marks of their keyboard accelerators.
    QStringList sorted = error.buttons;
    sorted.sort();
    EXPECT_EQ(sorted, (QStringList{"Break", "Default", "Retry"}));
}

TEST(ErrorMessageBox, WithoutADisplayTheTextGoesToStderrAndTheErrorIsGivenUp) {
    application(); // the offscreen platform shows no one a window
    installDesktopServices({gui::hasDisplay, gui::showMessageBox, gui::showErrorMessageBox, {}});
    EXPECT_FALSE(gui::hasDisplay());
    ::testing::internal::CaptureStderr();
    std::uint32_t answer =
        ErrorMessageBox("Error Code:  21 [ OPEN ERROR ]\r\n", "ERROR", 1, 2, 0x80000000);
    int ok = MessageBoxA("Error structure has wrong tag", "FROM DefErrorGen");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "ERROR\nError Code:  21 [ OPEN ERROR ]\r\n"
              "FROM DefErrorGen: Error structure has wrong tag\n");
    EXPECT_EQ(answer, 0x80000000u);
    EXPECT_EQ(ok, 1);
    installDesktopServices({});
}

TEST(ErrorMessageBox, TheRuntimeFunctionsPassTheirCodesThroughTheSeam) {
    testing::RecordingOs os;
    ScopedOs scoped(os);
    os.errorBoxAnswer = [](const ErrorBoxButtons&) { return 2u; };
    EXPECT_EQ(ErrorMessageBox("text", "WARNING", 1, 2, 0x80000003), 2u);
    ASSERT_EQ(os.errorBoxes.size(), 1u);
    EXPECT_EQ(os.errorBoxes[0].buttons.defaultCode, 1u);
    EXPECT_EQ(os.errorBoxes[0].buttons.retryCode, 2u);
    EXPECT_EQ(os.errorBoxes[0].buttons.breakCode, 0x80000003u);
    Tone(440, 1);
    EXPECT_EQ(os.tones, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{440, 1}}));
}

// What the installed desktop saw, for the captureless functions below.
struct DesktopCalls {
    bool canShow = true;
    std::vector<std::string> boxes;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> tones;
};
DesktopCalls desktopCalls;

TEST(DesktopServices, TheRealSystemUsesTheInstalledBoxesWhileSomeoneCanAnswerAndItsTone) {
    desktopCalls = {};
    installDesktopServices({
        [] { return desktopCalls.canShow; },
        [](const std::string& text, const std::string& caption, std::uint32_t) {
            desktopCalls.boxes.push_back(caption + ": " + text);
            return 7;
        },
        [](const std::string& text, const std::string& caption, ErrorBoxButtons buttons) {
            desktopCalls.boxes.push_back(caption + "\n" + text);
            return buttons.retryCode;
        },
        [](std::uint32_t frequency, std::uint32_t ticks) {
            desktopCalls.tones.emplace_back(frequency, ticks);
        },
    });
    EXPECT_EQ(MessageBoxA("text", "caption"), 7);
    EXPECT_EQ(ErrorMessageBox("text", "ERROR", 1, 2, 0x80000000), 2u);
    Tone(440, 3);
    desktopCalls.canShow = false; // the display went away: stderr again, tones still sound
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA("alone", "caption"), 1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "caption: alone\n");
    Tone(880, 1);
    installDesktopServices({});
    Tone(220, 1); // none installed: silent
    EXPECT_EQ(desktopCalls.boxes, (std::vector<std::string>{"caption: text", "ERROR\ntext"}));
    EXPECT_EQ(desktopCalls.tones,
              (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{440, 3}, {880, 1}}));
}

TEST(Tone, AMachineWithoutSoundStaysSilentAndSaysNothing) {
    ::testing::internal::CaptureStderr();
    sound::playTone(440, 1);
    sound::playTone(0, 1);     // no frequency: nothing to sound
    sound::playTone(30000, 1); // above what the output can carry
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

} // namespace
} // namespace cuentas
