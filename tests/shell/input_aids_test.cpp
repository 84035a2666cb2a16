#include "editor_window.h"
#include "sound.h"
#include "window_rig.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <filesystem>

using tarmel::test::WindowRig;

namespace {

// The main window shown and active, so that its shortcuts act on key presses.
void activate(QWidget& window)
{
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

// Speed Word switched on with this dictionary.
void switchCompletionOn(WindowRig& rig, const std::vector<std::string>& entries)
{
    rig.folder.writeLines("Base/dictionary.dat", entries);
    rig.form().N24->trigger();
    QVERIFY(rig.form().N24->isChecked());
}

QString panel0(WindowRig& rig)
{
    return rig.form().SB1Panel[0]->text();
}

} // namespace

class InputAidsTest : public QObject {
    Q_OBJECT
private slots:
    void ctrlSFixesTheLayoutOnlyWhileTheButtonIsEnabled();
    void layoutFixRewritesOnlyWhenSomethingChanges();
    void completionShowsTheEntryAndF5AppendsItsRestInLowerCase();
    void completionSwitchedOffShowsTheLoadMessageAndStopsF5();
    void missingDictionaryIsReportedAndChangesNothing();
    void changeOfTheLineRestartsTheSearch();
    void arrowKeysStepThroughMatchesCountingEachPressOnce();
    void keysOfOtherWindowsAndShortcutsAlsoStepTheCompletion();
    void guardEmptiesTheLineAtAReservedCharacter();
};

void InputAidsTest::ctrlSFixesTheLayoutOnlyWhileTheButtonIsEnabled()
{
    WindowRig rig;
    TForm1& form = rig.form();
    activate(form);
    rig.type(QStringLiteral("Ghbdtn"));
    QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(form.Input->text(), QStringLiteral("Ghbdtn")); // EnRus not yet enabled
    rig.tick();
    const int button = form.MP3->plays();
    const int keyboard = form.MP1->plays();
    QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(form.Input->text(), QStringLiteral("Привет"));
    QCOMPARE(form.MP3->plays(), button + 1);
    QCOMPARE(form.MP1->plays(), keyboard + 1); // one rewrite, one change
}

void InputAidsTest::layoutFixRewritesOnlyWhenSomethingChanges()
{
    WindowRig rig;
    TForm1& form = rig.form();
    struct Case {
        QString typed;
        QString fixed;
        int changes;
    };
    const Case cases[] = {
        {QStringLiteral("Rfr ltkf?"), QStringLiteral("Как дела?"), 1},
        {QStringLiteral("уже 123 'да'"), QStringLiteral("уже 123 'да'"), 0},
        // Characters outside the code page are kept as typed.
        {QStringLiteral("日本 ytn"), QStringLiteral("日本 нет"), 1},
    };
    for (const Case& c : cases) {
        form.Input->setText(c.typed);
        rig.tick();
        const int button = form.MP3->plays();
        const int keyboard = form.MP1->plays();
        form.EnRus->click();
        QCOMPARE(form.Input->text(), c.fixed);
        QCOMPARE(form.MP3->plays(), button + 1);
        QCOMPARE(form.MP1->plays(), keyboard + c.changes);
    }
}

void InputAidsTest::completionShowsTheEntryAndF5AppendsItsRestInLowerCase()
{
    WindowRig rig;
    TForm1& form = rig.form();
    activate(form);
    switchCompletionOn(rig, {"привет", "Москва", "ООН", "добрый день", "из-за"});
    QCOMPARE(panel0(rig), QStringLiteral("[NONE]"));
    QVERIFY(form.T11->isActive());

    struct Case {
        QString typed;
        QString shown;
        QString completed;
    };
    const Case cases[] = {
        {QStringLiteral("как дела, прив"), QStringLiteral("привет"),
         QStringLiteral("как дела, привет")},
        {QStringLiteral("мос"), QStringLiteral("Москва"), QStringLiteral("москва")},
        {QStringLiteral("оо"), QStringLiteral("ООН"), QStringLiteral("оон")},
        {QStringLiteral("Доб"), QStringLiteral("добрый день"), QStringLiteral("Добрый день")},
        {QStringLiteral("из-"), QStringLiteral("из-за"), QStringLiteral("из-за")},
    };
    for (const Case& c : cases) {
        form.Input->clear();
        rig.type(c.typed);
        form.T11Timer();
        QCOMPARE(panel0(rig), c.shown);
        rig.tick();
        QVERIFY(form.N23->isEnabled());
        QTest::keyClick(&form, Qt::Key_F5);
        QCOMPARE(form.Input->text(), c.completed);
        QVERIFY(form.T11->isActive());
    }

    // A line that ends in a separator, or an empty one, shows no completion,
    // and F5 then does nothing.
    for (const QString& line : {QStringLiteral("прив "), QStringLiteral("прив?"), QString()}) {
        form.Input->setText(line);
        form.T11Timer();
        QCOMPARE(panel0(rig), QStringLiteral("[NONE]"));
        rig.tick();
        QVERIFY(!form.N23->isEnabled());
        QTest::keyClick(&form, Qt::Key_F5);
        QCOMPARE(form.Input->text(), line);
    }
}

void InputAidsTest::completionSwitchedOffShowsTheLoadMessageAndStopsF5()
{
    WindowRig rig;
    TForm1& form = rig.form();
    switchCompletionOn(rig, {"привет"});
    rig.type(QStringLiteral("пр"));
    form.T11Timer();
    QCOMPARE(panel0(rig), QStringLiteral("привет"));

    form.N24->trigger();
    QVERIFY(!form.N24->isChecked());
    QCOMPARE(panel0(rig), QStringLiteral("Загрузка окончена"));
    QVERIFY(!form.T11->isActive());
    rig.tick();
    QVERIFY(!form.N23->isEnabled());
    form.N23Click();
    QCOMPARE(form.Input->text(), QStringLiteral("пр"));
    rig.type(QStringLiteral("и"));
    QVERIFY(!form.T11->isActive()); // typing arms nothing while off
}

void InputAidsTest::missingDictionaryIsReportedAndChangesNothing()
{
    WindowRig rig;
    TForm1& form = rig.form();
    form.T11Timer();
    const QString before = panel0(rig);
    form.N24->trigger();
    QCOMPARE(rig.messages.size(), 1);
    QVERIFY2(rig.messages[0].contains(QStringLiteral("dictionary.dat")),
             qPrintable(rig.messages[0]));
    QVERIFY(!form.N24->isChecked());
    QCOMPARE(panel0(rig), before);

    // Switched on, then the file goes: switching off fails and stays on.
    switchCompletionOn(rig, {"привет"});
    std::filesystem::remove("Base/dictionary.dat");
    form.N24->trigger();
    QCOMPARE(rig.messages.size(), 2);
    QVERIFY(form.N24->isChecked());
    QCOMPARE(panel0(rig), QStringLiteral("[NONE]"));
    QCOMPARE(form.SpeedWord.size(), std::size_t{1});
}

void InputAidsTest::changeOfTheLineRestartsTheSearch()
{
    WindowRig rig;
    TForm1& form = rig.form();
    switchCompletionOn(rig, {"прибор", "привет"});
    rig.type(QStringLiteral("при"));
    form.T11Timer();
    form.CompletionIndex = 1;
    const int sounds = form.MP1->plays();
    rig.type(QStringLiteral("в"));
    QCOMPARE(form.CompletionIndex, -1);
    QCOMPARE(form.MP1->plays(), sounds + 1);
    QVERIFY(form.T11->isActive());
    form.T11Timer();
    QCOMPARE(panel0(rig), QStringLiteral("привет"));
    QVERIFY(!form.T11->isActive());
}

void InputAidsTest::arrowKeysStepThroughMatchesCountingEachPressOnce()
{
    WindowRig rig;
    TForm1& form = rig.form();
    activate(form);
    form.installKeyHook();
    switchCompletionOn(rig, {"прибор", "привет", "прием", "москва", "приезд"});
    rig.type(QStringLiteral("при"));
    form.T11Timer();
    QCOMPARE(form.CompletionIndex, 0);

    struct Step {
        Qt::Key key;
        int index;     // after the hook
        QString shown; // after the search it armed
    };
    // Each step a press as the window system delivers it: a ShortcutOverride,
    // then the KeyPress at the window, at the line and passed up from the line
    // to its parents (the line ignores Up and Down).
    form.Input->setFocus();
    const Step steps[] = {
        {Qt::Key_Right, 0, QStringLiteral("привет")}, // 1
        {Qt::Key_Down, 2, QStringLiteral("приезд")},  // 4: прием at 2 passed over
        {Qt::Key_Up, 2, QStringLiteral("приезд")},    // москва at 3 does not match
        {Qt::Key_Down, 4, QStringLiteral("[NONE]")},  // past the end
    };
    for (const Step& s : steps) {
        QTest::keyClick(form.windowHandle(), s.key);
        QCOMPARE(form.CompletionIndex, s.index);
        QVERIFY(form.T11->isActive());
        form.T11Timer();
        QCOMPARE(panel0(rig), s.shown);
    }
    QTest::keyClick(form.Input, Qt::Key_Up); // from -1: clamped to 0
    QCOMPARE(form.CompletionIndex, 0);
    QCOMPARE(panel0(rig), QStringLiteral("прибор"));     // shown until the search runs
    QCOMPARE(form.Input->text(), QStringLiteral("при")); // no key was consumed

    // Keys pressed with Alt are system keys and leave the completion alone.
    form.T11Timer();
    const int index = form.CompletionIndex;
    QTest::keyClick(form.Input, Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(form.CompletionIndex, index);
}

void InputAidsTest::keysOfOtherWindowsAndShortcutsAlsoStepTheCompletion()
{
    WindowRig rig;
    TForm1& form = rig.form();
    form.installKeyHook();
    switchCompletionOn(rig, {"привет", "приезд", "пригород"});
    rig.type(QStringLiteral("при"));
    form.T11Timer();
    QCOMPARE(panel0(rig), QStringLiteral("привет"));

    // A key typed in the editor window.
    TForm2& editor = *rig.windows.Form2;
    editor.show();
    activate(editor);
    QTest::keyClick(editor.Edit1, Qt::Key_Down);
    QCOMPARE(form.CompletionIndex, 1);
    form.T11Timer();
    QCOMPARE(panel0(rig), QStringLiteral("пригород"));
    editor.hide();

    // F5, taken by its shortcut, is seen by the hook before it completes.
    activate(form);
    form.CompletionIndex = 0;
    form.T11Timer();
    rig.tick();
    QTest::keyClick(form.Input, Qt::Key_F5);
    QCOMPARE(form.Input->text(), QStringLiteral("приезд"));
    QCOMPARE(form.CompletionIndex, -1); // the change restarted the search

    // An empty dictionary: the hook does nothing.
    rig.folder.writeLines("Base/dictionary.dat", {});
    form.N24->trigger();
    form.N24->trigger();
    QVERIFY(form.N24->isChecked() && form.SpeedWord.empty());
    form.T11Timer();
    QTest::keyClick(form.Input, Qt::Key_Down);
    QCOMPARE(form.CompletionIndex, -1);
    QCOMPARE(panel0(rig), QStringLiteral("[NONE]"));
}

void InputAidsTest::guardEmptiesTheLineAtAReservedCharacter()
{
    WindowRig rig;
    TForm1& form = rig.form();
    rig.type(QStringLiteral("abc^"));
    for (int tick = 0; tick < 3; ++tick)
        form.T5Timer();
    QCOMPARE(form.Input->text(), QStringLiteral("abc^"));
    QVERIFY(form.RE1->isEnabled());
    const int sounds = form.MP1->plays();
    form.T5Timer();
    QVERIFY(form.Input->text().isEmpty());
    QVERIFY(!form.RE1->isEnabled());
    QCOMPARE(form.MP1->plays(), sounds + 1);
    QCOMPARE(form.GuardScanPos, 4);

    // An empty line is left alone; the next line is scanned from its start
    // when it is shorter than the position reached.
    form.T5Timer();
    QCOMPARE(form.GuardScanPos, 4);
    rig.type(QStringLiteral("ok"));
    form.T5Timer();
    QCOMPARE(form.GuardScanPos, 1);

    // The layout fix turns "$" into ";", which the guard acts on; the
    // transcript stays disabled for clean lines too.
    form.Input->setText(QStringLiteral("ntcn$"));
    rig.tick();
    form.EnRus->click();
    QCOMPARE(form.Input->text(), QStringLiteral("тест;"));
    for (int tick = 0; tick < 5 && !form.Input->text().isEmpty(); ++tick)
        form.T5Timer();
    QVERIFY(form.Input->text().isEmpty());
    rig.type(QStringLiteral("привет"));
    for (int tick = 0; tick < 12; ++tick)
        form.T5Timer();
    QCOMPARE(form.Input->text(), QStringLiteral("привет"));
    QVERIFY(!form.RE1->isEnabled());
}

int main(int argc, char** argv)
{
    tarmel::test::useOffscreenPlatformByDefault();
    QApplication application(argc, argv);
    tarmel::prepareApplication();
    InputAidsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "input_aids_test.moc"
