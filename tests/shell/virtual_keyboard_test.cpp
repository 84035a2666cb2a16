#include "sound.h"
#include "virtual_keyboard.h"
#include "window_rig.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using tarmel::test::WindowRig;

namespace {

// The rig with the keyboard opened from the main window's menu entry.
struct KeyboardRig : WindowRig {
    KeyboardRig()
    {
        form().N22->trigger();
        keyboard = windows.Form4.get();
    }
    // Clicks the keys with these component names, in order.
    void press(std::initializer_list<const char*> names)
    {
        for (const char* name : names) {
            QToolButton* button = keyboard->key(name);
            QVERIFY2(button, name);
            button->click();
        }
    }
    QString line() { return form().Input->text(); }

    TForm4* keyboard = nullptr;
};

const std::initializer_list<const char*> kPrivet = {"SB45", "SB46", "SB38", "SB31", "SB34", "SB48"};

} // namespace

class VirtualKeyboardTest : public QObject {
    Q_OBJECT
private slots:
    void isBuiltHiddenWithItsKeysInTheirGroups();
    void everyCharacterKeyAddsItsCharacterAtTheEnd();
    void capsLockSwitchesTheLettersAndSurvivesClosing();
    void openingAndClosingFollowTheSecondaryWindowConvention();
    void backspaceAndEnterFollowTheLine();
    void enterSendsTheLineThoughSpeakIsDisabled();
    void f5AcceptsTheCompletionOnlyWhileOneIsShown();
};

void VirtualKeyboardTest::isBuiltHiddenWithItsKeysInTheirGroups()
{
    WindowRig rig;
    TForm4& keyboard = *rig.windows.Form4;
    QVERIFY(!keyboard.isVisible());
    QVERIFY(keyboard.T1->isActive());
    QCOMPARE(keyboard.CapsState, 0);
    QCOMPARE(keyboard.windowTitle(), QStringLiteral("Виртуальная клавиатура"));
    QVERIFY(!keyboard.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QCOMPARE(keyboard.TabControl1->size(), QSize(353, 145));
    QCOMPARE(keyboard.N1->title(), QStringLiteral("&Система"));
    QCOMPARE(keyboard.N1->actions(), QList<QAction*>{keyboard.N2});
    QCOMPARE(keyboard.N2->text(), QStringLiteral("С&крыть виртуальную клавиатуру"));
    QCOMPARE(keyboard.N3->shortcut(), QKeySequence(Qt::Key_F5));

    // 59 character keys and 4 others, none of them overlapping another in its
    // frame, none taking the focus.
    const QList<QToolButton*> keys = keyboard.TabControl1->findChildren<QToolButton*>();
    QCOMPARE(keys.size(), 63);
    QCOMPARE(keyboard.GroupBox1->findChildren<QToolButton*>().size(), 26);
    QCOMPARE(keyboard.GroupBox2->findChildren<QToolButton*>().size(), 33);
    for (QToolButton* a : keys) {
        QCOMPARE(a->focusPolicy(), Qt::NoFocus);
        QVERIFY2(a->parentWidget()->rect().contains(a->geometry()), qPrintable(a->objectName()));
        for (QToolButton* b : keys) {
            if (a != b && a->parentWidget() == b->parentWidget())
                QVERIFY2(!a->geometry().intersects(b->geometry()),
                         qPrintable(a->objectName() + " " + b->objectName()));
        }
    }
    // The corners of the two groups and the keys beside them.
    QCOMPARE(keyboard.key("SB4")->geometry(), QRect(33, 16, 16, 17));
    QCOMPARE(keyboard.key("SB26")->geometry(), QRect(225, 33, 16, 17));
    QCOMPARE(keyboard.key("SB45")->geometry(), QRect(280, 16, 17, 17));
    QCOMPARE(keyboard.key("SB46")->geometry(), QRect(16, 33, 17, 17));
    QCOMPARE(keyboard.SB62->geometry(), QRect(310, 9, 41, 50));
    QCOMPARE(keyboard.SB63->geometry(), QRect(161, 119, 123, 22));
    QCOMPARE(keyboard.SB63->text(), QStringLiteral("Caps Lock [не нажат]"));
    QCOMPARE(keyboard.key("SB45")->text(), QStringLiteral("П"));
    // "&" shows as itself, not as an access key mark.
    QCOMPARE(keyboard.key("SB7")->text(), QStringLiteral("&&"));
}

void VirtualKeyboardTest::everyCharacterKeyAddsItsCharacterAtTheEnd()
{
    KeyboardRig rig;
    rig.form().Input->setText(QStringLiteral("x"));
    rig.form().Input->setCursorPosition(0); // the keys ignore the caret
    rig.press({"SB4",  "SB5",  "SB6",  "SB7",  "Sd8",  "SB13", "SB14", "SB15", "SB17",
               "SB18", "SB19", "SB20", "SB21", "SB64", "SB65", "SB28", "SB27", "SB2",
               "SB22", "SB9",  "SB10", "SB11", "SB12", "SB24", "SB25", "SB26", "SB23"});
    QCOMPARE(rig.line(), QStringLiteral("x#$%&*+=\\/[]{}~`,.!?()-:\"<> "));

    rig.form().Input->clear();
    rig.press({"SB29", "SB30", "SB31", "SB32", "SB33", "SB34", "SB35", "SB36", "SB37",
               "SB38", "SB39", "SB40", "SB41", "SB42", "SB43", "SB44", "SB45", "SB46",
               "SB47", "SB48", "SB49", "SB50", "SB51", "SB52", "SB53", "SB54", "SB55",
               "SB56", "SB57", "SB58", "SB59", "SB60", "SB61"});
    QCOMPARE(rig.line(), QStringLiteral("абвгдеёжзийклмнопрстуфхцчшщъыьэюя"));

    // Each key writes the line once: one keyboard sound per key.
    const int sounds = rig.form().MP1->plays();
    rig.press({"SB7"});
    QCOMPARE(rig.form().MP1->plays(), sounds + 1);
    QVERIFY(rig.line().endsWith(QStringLiteral("я&")));
}

void VirtualKeyboardTest::capsLockSwitchesTheLettersAndSurvivesClosing()
{
    KeyboardRig rig;
    rig.press(kPrivet);
    QCOMPARE(rig.line(), QStringLiteral("привет"));
    rig.press({"SB63"});
    QCOMPARE(rig.keyboard->CapsState, 1);
    QCOMPARE(rig.keyboard->SB63->text(), QStringLiteral("Caps Lock [нажат]"));
    QCOMPARE(rig.keyboard->key("SB45")->text(), QStringLiteral("П"));
    rig.press({"SB23", "SB5"});
    rig.press(kPrivet);
    QCOMPARE(rig.line(), QStringLiteral("привет $ПРИВЕТ"));

    rig.keyboard->N2->trigger();
    rig.form().N22->trigger();
    QCOMPARE(rig.keyboard->SB63->text(), QStringLiteral("Caps Lock [нажат]"));
    rig.press({"SB35", "SB63", "SB35"});
    QCOMPARE(rig.line(), QStringLiteral("привет $ПРИВЕТЁё"));
    QCOMPARE(rig.keyboard->SB63->text(), QStringLiteral("Caps Lock [не нажат]"));
}

void VirtualKeyboardTest::openingAndClosingFollowTheSecondaryWindowConvention()
{
    WindowRig rig;
    TForm1& form = rig.form();
    TForm4& keyboard = *rig.windows.Form4;
    auto expectOpen = [&](bool open) {
        QCOMPARE(keyboard.isVisible(), open);
        QCOMPARE(keyboard.T1->isActive(), open);
        QCOMPARE(form.isEnabled(), !open);
        QCOMPARE(form.T1->isActive(), !open);
    };
    keyboard.T1->stop(); // as after an earlier closing
    form.N22->trigger();
    expectOpen(true);
    QVERIFY(keyboard.isEnabled());
    keyboard.N2->trigger();
    expectOpen(false);

    // Closed by the window system: the main window comes back all the same.
    form.N22->trigger();
    expectOpen(true);
    QVERIFY(keyboard.close() == false);
    expectOpen(false);
}

void VirtualKeyboardTest::backspaceAndEnterFollowTheLine()
{
    KeyboardRig rig;
    TForm4& keyboard = *rig.keyboard;
    keyboard.T1Timer();
    QVERIFY(!keyboard.SB62->isEnabled() && !keyboard.SB66->isEnabled());
    rig.press({"SB30"});
    keyboard.T1Timer();
    QVERIFY(keyboard.SB62->isEnabled() && keyboard.SB66->isEnabled());
    keyboard.SB62->click();
    QVERIFY(rig.line().isEmpty());
    keyboard.T1Timer();
    QVERIFY(!keyboard.SB62->isEnabled() && !keyboard.SB66->isEnabled());

    // On an empty line nothing is written; a character outside the basic
    // plane goes as a whole.
    const int sounds = rig.form().MP1->plays();
    keyboard.SB62Click();
    QCOMPARE(rig.form().MP1->plays(), sounds);
    rig.form().Input->setText(QStringLiteral("a😀"));
    keyboard.SB62Click();
    QCOMPARE(rig.line(), QStringLiteral("a"));
}

void VirtualKeyboardTest::enterSendsTheLineThoughSpeakIsDisabled()
{
    KeyboardRig rig;
    QVERIFY(!rig.form().Speak->isEnabled()); // the main window's tick is stopped
    rig.press({"SB63"});
    rig.press({"SB45", "SB63", "SB46", "SB38", "SB31", "SB34", "SB48"});
    rig.keyboard->T1Timer();
    rig.keyboard->SB66->click();
    QCOMPARE(rig.transcript(), (QStringList{QStringLiteral("Привет."), QStringLiteral("Привет!")}));
    QVERIFY(rig.line().isEmpty());
    QVERIFY(rig.messages.isEmpty());
}

void VirtualKeyboardTest::f5AcceptsTheCompletionOnlyWhileOneIsShown()
{
    WindowRig rig;
    TForm1& form = rig.form();
    TForm4& keyboard = *rig.windows.Form4;
    rig.folder.writeLines("Base/dictionary.dat", {"Москва"});
    form.N24->trigger();
    form.N22->trigger();
    keyboard.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&keyboard));
    form.T11->stop(); // the test runs the searches itself

    // "[NONE]": F5 changes nothing.
    keyboard.key("SB51")->click();
    form.T11Timer();
    QCOMPARE(form.SB1Panel[0]->text(), QStringLiteral("[NONE]"));
    keyboard.T1Timer();
    QVERIFY(!form.N23->isEnabled());
    QTest::keyClick(&keyboard, Qt::Key_F5);
    QCOMPARE(form.Input->text(), QStringLiteral("х"));

    // A completion shown: the keyboard's tick enables F5, which appends it.
    form.Input->clear();
    keyboard.key("SB42")->click();
    keyboard.key("SB44")->click();
    form.T11Timer();
    QCOMPARE(form.SB1Panel[0]->text(), QStringLiteral("Москва"));
    keyboard.T1Timer();
    QVERIFY(form.N23->isEnabled());
    QTest::keyClick(&keyboard, Qt::Key_F5);
    QCOMPARE(form.Input->text(), QStringLiteral("москва"));
    QVERIFY(form.T11->isActive());
}

int main(int argc, char** argv)
{
    tarmel::test::useOffscreenPlatformByDefault();
    QApplication application(argc, argv);
    tarmel::prepareApplication();
    VirtualKeyboardTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "virtual_keyboard_test.moc"
