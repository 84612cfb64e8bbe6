#include "platform/gui/picture.h"
#include "platform/gui/qt/picture_validator.h"
#include "tests/support/gui_application.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace cuentas::gui {
namespace {

TEST(Picture, EachPositionAdmitsWhatItsMaskCharacterAllows) {
    struct Case {
        const char* text;
        const char* mask;
        bool fits;
    };
    const Case cases[] = {
        {"", "9999", true},
        {"0049", "9999", true},
        {"49", "9999", true},
        {"12345", "9999", false},
        {"12a4", "9999", false},
        {"1 3", "9999", false},
        {"-1", "9999", false},
        {"+1 2", "####", true},
        {"ab", "AA", true},
        {"\xD1"
         "a",
         "AA", true},
        {"a1", "AA", false},
        {"a1", "NN", true},
        {"?!", "XX", true},
        {"12-3", "99-9", true},
        {"12/3", "99-9", false},
        {"anything at all", "", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fitsPicture(c.text, c.mask), c.fits) << c.text << " / " << c.mask;
    }
}

class PictureEdit : public ::testing::Test {
protected:
    void SetUp() override {
        testing::guiApplication();
        edit = std::make_unique<QLineEdit>();
        edit->setValidator(new PictureValidator("9999", edit.get()));
        edit->setMaxLength(4);
        edit->show();
        edit->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(edit.get()));
    }
    // Widgets need the application first, so the edit is made in SetUp.
    std::unique_ptr<QLineEdit> edit;
};

TEST_F(PictureEdit, TypedLettersAndBlanksAreRefused) {
    QTest::keyClicks(edit.get(), "1a2 3b");
    EXPECT_EQ(edit->text(), "123");
}

TEST_F(PictureEdit, TypingStopsAtTheMasksLength) {
    QTest::keyClicks(edit.get(), "123456");
    EXPECT_EQ(edit->text(), "1234");
}

TEST_F(PictureEdit, APasteThatBreaksTheMaskIsRefusedWhole) {
    QTest::keyClicks(edit.get(), "9");
    QApplication::clipboard()->setText("12a4");
    edit->paste();
    EXPECT_EQ(edit->text(), "9");
    QApplication::clipboard()->setText("12");
    edit->paste();
    EXPECT_EQ(edit->text(), "912");
}

TEST_F(PictureEdit, AnExclamationMarkTurnsLettersToUpperCase) {
    edit->setValidator(new PictureValidator("!!!", edit.get()));
    QTest::keyClicks(edit.get(), "a");
    // QTest spells only ASCII keys; the n with tilde goes in as its key with its text.
    QTest::sendKeyEvent(QTest::Click, edit.get(), Qt::Key_Ntilde, QStringLiteral(u"\u00F1"),
                        Qt::NoModifier);
    QTest::keyClicks(edit.get(), "z");
    EXPECT_EQ(edit->text(), QString::fromUtf8("A\u00D1Z"));
}

} // namespace
} // namespace cuentas::gui
