// What assistive technology hears from the account dialog while a clerk uses it. Qt passes
// these events on only while its accessibility bridge is active, so ctest runs this under
// tests/support/accessibility_bus.sh (the X platform and the AT-SPI bus).
#include "platform/gui/message_boxes.h"
#include "tests/dialog/qt/qt_account_dialog_fixture.h"

#include <QAccessible>
#include <QMessageBox>

namespace cuentas::testing {
namespace {

using enum MainDialogId;

struct Heard {
    QAccessible::Event type;
    QObject* object;
    QString inserted; // the new text of a text update
};

std::vector<Heard>& heard() {
    static std::vector<Heard> events;
    return events;
}

void listen(QAccessibleEvent* event) {
    Heard h{event->type(), event->object(), {}};
    if (event->type() == QAccessible::TextUpdated) {
        h.inserted = static_cast<QAccessibleTextUpdateEvent*>(event)->textInserted();
    }
    heard().push_back(h);
}

class AnnouncementTest : public QtAccountDialogTest {
protected:
    void SetUp() override {
        QtAccountDialogTest::SetUp();
        ASSERT_TRUE(QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000))
            << "Qt's accessibility bridge is off; run under tests/support/accessibility_bus.sh";
        previous = QAccessible::installUpdateHandler(listen);
        heard().clear();
    }
    void TearDown() override {
        QAccessible::installUpdateHandler(previous);
        QtAccountDialogTest::TearDown();
    }

    // The new texts announced by an object, in order.
    static std::vector<QString> textUpdates(QObject* object) {
        std::vector<QString> texts;
        for (const Heard& h : heard()) {
            if (h.type == QAccessible::TextUpdated && h.object == object) {
                texts.push_back(h.inserted);
            }
        }
        return texts;
    }
    static bool wasHeard(QAccessible::Event type, QObject* object) {
        return std::any_of(heard().begin(), heard().end(),
                           [&](const Heard& h) { return h.type == type && h.object == object; });
    }

    QAccessible::UpdateHandler previous = nullptr;
};

TEST_F(AnnouncementTest, TheBankNameAndTheDigitsAreAnnouncedWhenTheyChange) {
    run([&] {
        type("2100");
        tab();
        EXPECT_EQ(textUpdates(label(Nombre)), std::vector<QString>{"CAIXABANK"});
        type("418");
        tab();
        type("200051332");
        tab();
        EXPECT_EQ(textUpdates(label(Dc)), std::vector<QString>{"45"});
        // Leaving the bank field again with the same code changes nothing, so says nothing.
        clickInto(Banco);
        tab();
        EXPECT_EQ(textUpdates(label(Nombre)).size(), 1u);
        clickInto(Banco);
        QTest::keyClick(focus(), Qt::Key_A, Qt::ControlModifier);
        type("1234");
        tab();
        EXPECT_EQ(textUpdates(label(Nombre)), (std::vector<QString>{"CAIXABANK", "Inexistente"}));
        EXPECT_EQ(textUpdates(label(Dc)), (std::vector<QString>{"45", "05"}));
    });
    // Qt's own announcement of a label's change, as a new name, would now say the wrong thing.
    EXPECT_FALSE(wasHeard(QAccessible::NameChanged, label(Nombre)));
}

TEST_F(AnnouncementTest, EachFocusedEditIsAnnouncedByItsName) {
    run([&] {
        heard().clear();
        type("49");
        tab();
        EXPECT_TRUE(wasHeard(QAccessible::Focus, edit(Sucursal)));
        tab();
        EXPECT_TRUE(wasHeard(QAccessible::Focus, edit(Cuenta)));
        EXPECT_EQ(QAccessible::queryAccessibleInterface(edit(Cuenta))->text(QAccessible::Name),
                  fromWindows1252("N\xBA de cuenta"));
    });
}

TEST_F(AnnouncementTest, TheFailedSaveMessageIsReadOutWithItsTitleTextAndButton) {
    OperatingSystem real; // a real message box, which a screen reader reads
    ScopedOs shown(real);
    installDesktopServices({gui::hasDisplay, gui::showMessageBox, gui::showErrorMessageBox, {}});
    fs::remove_all(base / "tmp");
    QString role, title, value, labelText, buttons;
    bool alerted = false;
    run([&] {
        type("49");
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            alerted = wasHeard(QAccessible::Alert, box);
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(box);
            role = iface->role() == QAccessible::AlertMessage ? "alert" : "other";
            title = iface->text(QAccessible::Name);
            value = iface->text(QAccessible::Value);
            for (int i = 0; i < iface->childCount(); ++i) {
                QAccessibleInterface* child = iface->child(i);
                if (child->role() == QAccessible::StaticText) {
                    labelText = child->text(QAccessible::Name);
                }
                for (int j = 0; j < child->childCount(); ++j) {
                    if (child->child(j)->role() == QAccessible::Button) {
                        buttons += child->child(j)->text(QAccessible::Name);
                    }
                }
            }
            box->accept();
        });
        click(Grabar);
    });
    installDesktopServices({});
    EXPECT_TRUE(leftOpen);
    EXPECT_TRUE(alerted);
    EXPECT_EQ(role, "alert");
    EXPECT_EQ(title, fromWindows1252(kMainDialogCaption));
    const QString message = fromWindows1252(transferFailureMessage(
        transferFilePath(baseDirectory()), oserror::kPathNotFound, OsCause::Unknown));
    EXPECT_EQ(value, message);
    EXPECT_EQ(labelText, message);
    EXPECT_EQ(buttons, "OK");
}

} // namespace
} // namespace cuentas::testing
