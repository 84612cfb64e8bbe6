#include "platform/os/message_boxes.h"
#include "platform/platform.h"
#include "platform/runtime/error_box.h"
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
        EXPECT_EQ(showErrorMessageBox("Error Code:  21 [ OPEN ERROR ]\r\n", "ERROR", c.buttons),
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
    EXPECT_EQ(showMessageBox("C\xE1lculo", "FROM DefErrorGen", kMessageBoxOk), 1);
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
    showMessageBox("No se ha podido grabar el fichero", "C\xE1lculo", kMessageBoxIconError);
    EXPECT_EQ(plain.role, QAccessible::AlertMessage);
    EXPECT_EQ(plain.title, QString::fromUtf8("C\u00e1lculo"));
    EXPECT_EQ(plain.text, "No se ha podido grabar el fichero");
    EXPECT_EQ(plain.buttons, QStringList{"OK"});

    ReadOut error;
    error.arm();
    showErrorMessageBox("Error Code:  21 [ OPEN ERROR ]", "ERROR", {1, 2, 0x80000003});
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
    EXPECT_FALSE(hasDisplay());
    ::testing::internal::CaptureStderr();
    std::uint32_t answer =
        ErrorMessageBox("Error Code:  21 [ OPEN ERROR ]\r\n", "ERROR", 1, 2, 0x80000000);
    int ok = MessageBoxA("Error structure has wrong tag", "FROM DefErrorGen");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "ERROR\nError Code:  21 [ OPEN ERROR ]\r\n"
              "FROM DefErrorGen: Error structure has wrong tag\n");
    EXPECT_EQ(answer, 0x80000000u);
    EXPECT_EQ(ok, 1);
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

TEST(Tone, AMachineWithoutSoundStaysSilentAndSaysNothing) {
    OperatingSystem real;
    ::testing::internal::CaptureStderr();
    real.tone(440, 1);
    real.tone(0, 1);     // no frequency: nothing to sound
    real.tone(30000, 1); // above what the output can carry
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

} // namespace
} // namespace cuentas
