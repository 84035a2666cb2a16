// Cpu\Cpu mode: the mode switch, the editor "Редактор", and the exchange file
// read by T6 and written back by the turn.

#include "cp1251.h"
#include "editor_window.h"
#include "line_file.h"
#include "message_box.h"
#include "window_rig.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <filesystem>
#include <fstream>
#include <functional>

namespace fs = std::filesystem;
using tarmel::test::WindowRig;

namespace {

// The program's windows in a temporary folder whose "home" subfolder stands
// for the user's home, so "D:\Txt.Dat" is home/Txt.Dat and not a file of the
// working folder.
struct ExchangeRig : WindowRig {
    ExchangeRig() : previousHome(qgetenv("HOME"))
    {
        fs::create_directories(folder.path() / "home");
        qputenv("HOME", QByteArray::fromStdString((folder.path() / "home").string()));
    }
    ~ExchangeRig() { qputenv("HOME", previousHome); }

    TForm2& editor() { return *windows.Form2; }
    // Plain Windows-1251 lines into the exchange file.
    void writeExchange(const std::vector<std::string>& utf8) { folder.writeLines(kExchange, utf8); }
    std::vector<std::string> exchangeLines() const { return folder.readLines(kExchange); }
    std::string exchangeBytes() const
    {
        return tarmel::readFileBytes(folder.path() / kExchange, kExchange);
    }
    // Types into the number field as a user would (the text, not the value).
    void enterPeriod(const QString& text)
    {
        editor().SpinEdit1->findChild<QLineEdit*>()->setText(text);
    }
    // Lines of the dialog log, in UTF-8.
    QStringList log()
    {
        QStringList lines;
        for (const auto& line : form().engine.Log.lines())
            lines << QString::fromStdString(tarmel::cp1251::toUtf8(line));
        return lines;
    }
    // Timer mode chosen and confirmed in the editor with this entry (seconds).
    void confirmTimerMode(const QString& entry)
    {
        form().N38->trigger();
        editor().RB2->click();
        enterPeriod(entry);
        editor().Button1->click();
    }

    static constexpr const char* kExchange = "home/Txt.Dat";
    QByteArray previousHome;
};

QStringList configLines()
{
    std::ifstream in("Config.ini", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return QString::fromStdString(bytes).split(QStringLiteral("\r\n"));
}

} // namespace

class ExchangeModeTest : public QObject {
    Q_OBJECT
private slots:
    void modeSwitchWritesServiceLinesAndMovesTheTimers();
    void editorHasItsFieldsAndClosesOnlyThroughItsButtons();
    void openingTheEditorTakesRow31AndCancelKeepsTheEdits();
    void okWritesThePathAndTurnsSecondsIntoBoundedMilliseconds();
    void changedFieldsRemoveTheRestoreMark();
    void editorFailuresChangeNothingTheyShouldNot();
    void enterModeAnswersTheFileThenItsOwnReply();
    void timerModeAnswersAtEveryTickAtTheFieldsPeriod();
    void multiLineFileIsAnsweredByItsFirstLineAndReplaced();
    void typedAbsolutePathIsUsedAsItStands();
    void emptyFirstLineEndsTheTurnAtOnce();
    void brokenFileIsReportedOnceUntilAReadSucceeds();
    void failingTimerTurnIsReportedOnce();
};

void ExchangeModeTest::modeSwitchWritesServiceLinesAndMovesTheTimers()
{
    ExchangeRig rig;
    TForm1& form = rig.form();
    rig.type(QStringLiteral("начатая фраза"));
    const QFont before = form.RE1->currentFont();

    struct Step {
        QAction* item;
        QString panel;
        QStringList added; // transcript lines the switch appends
        bool cpuMode;
        QString inputAfter;
    };
    const QString cpuLine = QStringLiteral("Сервис:   // Режим диалога Cpu\\Cpu.");
    const QString userLine = QStringLiteral("Сервис:   // Режим диалога Cpu\\User.");
    const Step steps[] = {
        {form.Cpu31, QStringLiteral("Режим Cpu\\Cpu"), {cpuLine}, true, "начатая фраза"},
        // The mode already on: the same steps, the line again.
        {form.Cpu31, QStringLiteral("Режим Cpu\\Cpu"), {cpuLine}, true, "начатая фраза"},
        {form.CpuUser1, QStringLiteral("Режим Cpu\\User"), {userLine, QString()}, false, ""},
        {form.CpuUser1, QStringLiteral("Режим Cpu\\User"), {userLine, QString()}, false, ""},
    };
    QStringList expected;
    for (const auto& step : steps) {
        step.item->trigger();
        expected << step.added;
        QStringList blocks; // every paragraph, the empty one after Cpu\User included
        for (QTextBlock b = form.RE1->document()->begin(); b.isValid(); b = b.next())
            blocks << b.text();
        QCOMPARE(blocks, expected);
        QCOMPARE(form.SB1Panel[2]->text(), step.panel);
        QCOMPARE(form.Cpu31->isChecked(), step.cpuMode);
        QCOMPARE(form.CpuUser1->isChecked(), !step.cpuMode);
        QCOMPARE(form.T6->isActive(), step.cpuMode);
        QCOMPARE(form.T1->isActive(), !step.cpuMode);
        QCOMPARE(form.Input->text(), step.inputAfter);
    }
    // Service lines are teal in the font new text had; the log never sees them.
    const QTextBlock first = form.RE1->document()->firstBlock();
    const QTextCharFormat look = first.begin().fragment().charFormat();
    QCOMPARE(look.foreground().color(), QColor(0, 128, 128));
    QCOMPARE(look.font().family(), before.family());
    QCOMPARE(look.font().pointSizeF(), before.pointSizeF());
    QVERIFY(form.engine.Log.empty());
    QVERIFY(rig.messages.isEmpty());
}

void ExchangeModeTest::editorHasItsFieldsAndClosesOnlyThroughItsButtons()
{
    ExchangeRig rig;
    TForm2& editor = rig.editor();
    QCOMPARE(editor.windowTitle(), QStringLiteral("Редактор"));
    QCOMPARE(editor.size(), QSize(305, 185));
    QVERIFY(!(editor.windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(editor.GroupBox1->title(), QStringLiteral("Путь файла для внешнего ввода-вывода:"));
    QCOMPARE(editor.GroupBox2->title(), QStringLiteral("Считывание фразы из файла:"));
    QCOMPARE(editor.Edit1->text(), QStringLiteral("D:\\Txt.Dat"));
    QCOMPARE(editor.RB1->text(), QStringLiteral("По нажатию клавиши [ENTER]"));
    QCOMPARE(editor.RB2->text(), QStringLiteral("По таймеру  каждые:"));
    QCOMPARE(editor.Label1->text(), QStringLiteral("сек."));
    QCOMPARE(editor.Button1->text(), QStringLiteral("Хорошо"));
    QCOMPARE(editor.Button2->text(), QStringLiteral("Отмена"));
    QVERIFY(editor.RB1->isChecked() && !editor.RB2->isChecked());
    QCOMPARE(editor.SpinEdit1->minimum(), 1);
    QCOMPARE(editor.SpinEdit1->maximum(), 36000);
    QCOMPARE(editor.SpinEdit1->value(), 1);
    QVERIFY(!editor.SpinEdit1->isEnabled());
    // Every component lies inside the client area.
    for (QWidget* child : editor.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        QVERIFY2(editor.rect().contains(child->geometry()), qPrintable(child->objectName()));

    // The trigger choice enables the number field only for the timer.
    editor.RB2->click();
    QVERIFY(editor.SpinEdit1->isEnabled());
    editor.RB1->click();
    QVERIFY(!editor.SpinEdit1->isEnabled());

    // Closed by the window system after all, it behaves as "Отмена".
    const QStringList config = configLines();
    rig.form().N38->trigger();
    editor.Edit1->setText(QStringLiteral("/tmp/другой.dat"));
    QVERIFY(editor.close());
    QVERIFY(!editor.isVisible());
    QVERIFY(rig.form().isEnabled());
    QVERIFY(rig.form().T1->isActive());
    QCOMPARE(configLines(), config);
    QVERIFY(rig.messages.isEmpty());
}

void ExchangeModeTest::openingTheEditorTakesRow31AndCancelKeepsTheEdits()
{
    ExchangeRig rig;
    TForm1& form = rig.form();
    TForm2& editor = rig.editor();
    tarmel::Lines lines = form.ConfigFile.lines();
    lines[30] = tarmel::test::w("Adres=/srv/обмен/Txt.Dat");
    form.ConfigFile.setLines(lines);
    form.Cpu31->trigger();
    editor.SpinEdit1->setValue(4000);

    form.N38->trigger();
    QCOMPARE(editor.Edit1->text(), QStringLiteral("/srv/обмен/Txt.Dat"));
    QCOMPARE(editor.SpinEdit1->value(), 1);
    QVERIFY(editor.isVisible() && editor.isEnabled());
    QVERIFY(!form.isEnabled());
    QVERIFY(!form.T1->isActive());
    QVERIFY(form.T6->isActive()); // reading goes on behind the editor

    const QStringList config = configLines();
    editor.Edit1->setText(QStringLiteral("D:\\Другой.Dat"));
    editor.RB2->click();
    rig.enterPeriod(QStringLiteral("5"));
    editor.Button2->click();
    QVERIFY(!editor.isVisible());
    QVERIFY(form.isEnabled());
    QVERIFY(form.T1->isActive()); // in Cpu\Cpu mode too
    QCOMPARE(configLines(), config);
    // The edits stay and count from now on: the entry is taken as milliseconds.
    QCOMPARE(editor.Edit1->text(), QStringLiteral("D:\\Другой.Dat"));
    QVERIFY(editor.RB2->isChecked());
    QCOMPARE(editor.SpinEdit1->value(), 5);
    QCOMPARE(form.exchangePath(), std::string("D:\\Другой.Dat"));
}

void ExchangeModeTest::okWritesThePathAndTurnsSecondsIntoBoundedMilliseconds()
{
    struct Case {
        QString entry;
        int stored;
    };
    const Case cases[] = {
        {"1", 1000},   {"2", 2000},      {"36", 36000},
        {"37", 36000}, {"36000", 36000}, {"", 1000}, // a text that is no number reads as 1
    };
    for (const auto& c : cases) {
        ExchangeRig rig;
        TForm1& form = rig.form();
        const QStringList before = configLines();
        form.N38->trigger();
        rig.editor().Edit1->setText(QStringLiteral("/home/гость/Обмен.txt"));
        rig.enterPeriod(c.entry);
        rig.editor().Button1->click();
        QCOMPARE(rig.editor().SpinEdit1->value(), c.stored);
        QCOMPARE(rig.editor().SpinEdit1->text(), QString::number(c.stored));
        QVERIFY(!rig.editor().isVisible());
        QVERIFY(form.isEnabled() && form.T1->isActive());

        // Row 31 holds the new path, every other line stays, CR LF throughout.
        QStringList expected = before;
        expected[30] = QStringLiteral("Adres=/home/гость/Обмен.txt");
        QStringList written;
        for (const auto& line : rig.folder.readLines("Config.ini"))
            written << QString::fromStdString(line);
        QCOMPARE(written, expected.mid(0, 31));
        std::ifstream in("Config.ini", std::ios::binary);
        const std::string raw((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
        QCOMPARE(std::count(raw.begin(), raw.end(), '\n'), std::ptrdiff_t{31});
        QCOMPARE(std::count(raw.begin(), raw.end(), '\r'), std::ptrdiff_t{31});
        QVERIFY(rig.messages.isEmpty());
    }
}

void ExchangeModeTest::changedFieldsRemoveTheRestoreMark()
{
    // Each step starts from a fresh window with N13 marked.
    struct Case {
        const char* what;
        std::function<void(ExchangeRig&)> act;
        bool markStays;
    };
    const Case cases[] = {
        {"path set to its own text",
         [](ExchangeRig& r) { r.editor().Edit1->setText("D:\\Txt.Dat"); }, true},
        {"path typed", [](ExchangeRig& r) { r.editor().Edit1->setText("D:\\Txt.Da"); }, false},
        {"number set to its own value", [](ExchangeRig& r) { r.editor().SpinEdit1->setValue(1); },
         true},
        {"number typed", [](ExchangeRig& r) { r.enterPeriod("3"); }, false},
        {"editor opened on the same path and number", [](ExchangeRig& r) { r.form().N38Click(); },
         true},
        {"editor opened on another row 31",
         [](ExchangeRig& r) {
             tarmel::Lines lines = r.form().ConfigFile.lines();
             lines[30] = "Adres=/tmp/x";
             r.form().ConfigFile.setLines(lines);
             r.form().N38Click();
         },
         false},
        {"editor opened while the number held 7",
         [](ExchangeRig& r) {
             r.editor().SpinEdit1->setValue(7);
             r.form().N13->setChecked(true);
             r.form().N38Click();
         },
         false},
        {"OK with the number already at 36000",
         [](ExchangeRig& r) {
             r.form().N38Click();
             r.editor().SpinEdit1->setValue(36000);
             r.form().N13->setChecked(true);
             r.editor().Button1Click();
         },
         true},
        {"OK with 1",
         [](ExchangeRig& r) {
             r.form().N38Click();
             r.editor().Button1Click();
         },
         false},
    };
    for (const auto& c : cases) {
        ExchangeRig rig;
        QVERIFY(rig.form().N13->isChecked());
        c.act(rig);
        QVERIFY2(rig.form().N13->isChecked() == c.markStays, c.what);
    }
}

void ExchangeModeTest::editorFailuresChangeNothingTheyShouldNot()
{
    // A Config.ini of 30 lines: the editor does not open, nothing changes.
    {
        ExchangeRig rig;
        TForm1& form = rig.form();
        tarmel::Lines lines = form.ConfigFile.lines();
        lines.resize(30);
        form.ConfigFile.setLines(lines);
        rig.editor().SpinEdit1->setValue(2000);
        form.N13->setChecked(true);
        form.N38->trigger();
        QCOMPARE(rig.messages.size(), 1);
        QVERIFY2(rig.messages[0].contains(QStringLiteral("Config.ini")) &&
                     rig.messages[0].contains(QStringLiteral("31")),
                 qPrintable(rig.messages[0]));
        QVERIFY(!rig.editor().isVisible());
        QVERIFY(form.isEnabled() && form.T1->isActive());
        QCOMPARE(rig.editor().SpinEdit1->value(), 2000);
        QVERIFY(form.N13->isChecked());
    }
    // Config.ini cannot be written: reported, the editor stays open with the
    // number untouched, and "Отмена" still leaves it.
    {
        ExchangeRig rig;
        TForm1& form = rig.form();
        form.N38->trigger();
        fs::remove("Config.ini");
        fs::create_directory("Config.ini");
        rig.enterPeriod(QStringLiteral("2"));
        rig.editor().Button1->click();
        QCOMPARE(rig.messages.size(), 1);
        QVERIFY2(rig.messages[0].contains(QStringLiteral("Config.ini")),
                 qPrintable(rig.messages[0]));
        QVERIFY(rig.editor().isVisible());
        QCOMPARE(rig.editor().SpinEdit1->value(), 2);
        QVERIFY(!form.isEnabled());
        rig.editor().Button2->click();
        QVERIFY(!rig.editor().isVisible() && form.isEnabled() && form.T1->isActive());
    }
}

void ExchangeModeTest::enterModeAnswersTheFileThenItsOwnReply()
{
    ExchangeRig rig;
    TForm1& form = rig.form();
    // Row 31 counts only once the editor has copied it into the path field.
    tarmel::Lines config = form.ConfigFile.lines();
    config[30] = "Adres=/nowhere/Txt.Dat";
    form.ConfigFile.setLines(config);
    rig.writeExchange({"привет"});
    form.Cpu31->trigger();
    QVERIFY(!form.Speak->isEnabled()); // the input was empty when T1 stopped
    form.T6Timer();
    QVERIFY(form.Talk->isEnabled());
    QVERIFY(form.engine.Log.empty()); // reading alone answers nothing

    rig.pressEnter();
    QCOMPARE(rig.log(), (QStringList{QStringLiteral("[12:34:56] USER:     Привет."),
                                     QStringLiteral("[12:34:56] CPU:     Привет!")}));
    // The file is now an RTF document whose only paragraph is the reply.
    QVERIFY(rig.exchangeBytes().rfind("{\\rtf", 0) == 0);
    QCOMPARE(rig.exchangeLines(), std::vector<std::string>{"Привет!"});

    // No other writer: the second Enter answers the first reply.
    form.T6Timer();
    rig.pressEnter();
    QCOMPARE(rig.log().size(), 4);
    QCOMPARE(rig.log()[2], QStringLiteral("[12:34:56] USER:     Привет!"));
    const QString secondReply = rig.log()[3].section(QStringLiteral("CPU:     "), 1);
    QCOMPARE(QString::fromStdString(rig.exchangeLines().at(0)), secondReply);
    QVERIFY(rig.messages.isEmpty());

    // Back to Cpu\User: reading stops at once and Enter answers the input again.
    form.CpuUser1->trigger();
    rig.writeExchange({"пока"});
    QVERIFY(!form.T6->isActive());
    rig.type(QStringLiteral("как дела"));
    rig.tick();
    rig.pressEnter();
    QCOMPARE(rig.log()[4], QStringLiteral("[12:34:56] USER:     Как дела."));
    QCOMPARE(rig.exchangeLines(), std::vector<std::string>{"пока"});
}

void ExchangeModeTest::timerModeAnswersAtEveryTickAtTheFieldsPeriod()
{
    ExchangeRig rig;
    TForm1& form = rig.form();
    rig.writeExchange({"как дела"});
    rig.confirmTimerMode(QStringLiteral("2"));
    form.Cpu31->trigger();
    QCOMPARE(form.T6->interval(), 15); // the first tick sets the period

    form.T6Timer();
    QCOMPARE(form.T6->interval(), 2000);
    QVERIFY(!form.Talk->isEnabled());
    QCOMPARE(rig.log(), (QStringList{QStringLiteral("[12:34:56] USER:     Как дела."),
                                     QStringLiteral("[12:34:56] CPU:     Нормально.")}));
    QCOMPARE(rig.exchangeLines(), std::vector<std::string>{"Нормально."});
    // One copy alone answers its own reply at the next tick.
    form.T6Timer();
    QCOMPARE(rig.log().value(2), QStringLiteral("[12:34:56] USER:     Нормально."));
    // Enter does nothing while the timer runs the turns.
    rig.pressEnter();
    QCOMPARE(rig.log().size(), 4);

    // The period follows the field at every tick.
    struct Period {
        const char* how;
        std::function<void()> set;
        int interval;
    };
    const Period periods[] = {
        {"entry 37 confirmed", [&] { rig.confirmTimerMode("37"); }, 36000},
        {"editor open: the field holds 1", [&] { form.N38->trigger(); }, 15},
        {"entry 5 left by Cancel: 5 ms, as fast as the timer goes",
         [&] {
             rig.enterPeriod("5");
             rig.editor().Button2->click();
         },
         15},
        {"entry 40 left by Cancel",
         [&] {
             form.N38->trigger();
             rig.enterPeriod("40");
             rig.editor().Button2->click();
         },
         40},
    };
    for (const auto& p : periods) {
        p.set();
        form.T6Timer();
        QVERIFY2(form.T6->interval() == p.interval, p.how);
    }
    // Enter chosen again: the next tick only reads, and the period stays.
    form.N38->trigger();
    rig.editor().RB1->click();
    rig.editor().Button2->click();
    const qsizetype turns = rig.log().size();
    form.T6Timer();
    QCOMPARE(rig.log().size(), turns);
    QVERIFY(form.Talk->isEnabled());
    QCOMPARE(form.T6->interval(), 40); // a period once set stays
    QVERIFY(rig.messages.isEmpty());
}

void ExchangeModeTest::multiLineFileIsAnsweredByItsFirstLineAndReplaced()
{
    ExchangeRig rig;
    TForm1& form = rig.form();
    rig.writeExchange({"до свидания", "привет", "", "как дела"});
    rig.confirmTimerMode(QStringLiteral("1"));
    form.Cpu31->trigger();
    form.T6Timer();
    QCOMPARE(rig.log().value(0), QStringLiteral("[12:34:56] USER:     До свидания."));
    QCOMPARE(rig.exchangeLines(), std::vector<std::string>{"До встречи!"});
    QVERIFY(form.T4->isActive()); // the turn is a whole turn: the leaving marker acts
}

void ExchangeModeTest::typedAbsolutePathIsUsedAsItStands()
{
    ExchangeRig rig;
    TForm1& form = rig.form();
    const fs::path file = rig.folder.path() / "обмен" / "Фразы.txt";
    rig.folder.writeLines("обмен/Фразы.txt", {"привет"});
    rig.editor().Edit1->setText(QString::fromStdString(file.string()));
    rig.editor().RB2->setChecked(true); // chosen, not confirmed
    form.Cpu31->trigger();
    form.T6Timer();
    QCOMPARE(rig.folder.readLines("обмен/Фразы.txt"), std::vector<std::string>{"Привет!"});
    QVERIFY(!fs::exists(rig.folder.path() / ExchangeRig::kExchange));
    QVERIFY(rig.messages.isEmpty());
}

void ExchangeModeTest::emptyFirstLineEndsTheTurnAtOnce()
{
    const std::vector<std::string> files[] = {{}, {"", "привет"}};
    for (const auto& lines : files) {
        ExchangeRig rig;
        TForm1& form = rig.form();
        rig.writeExchange(lines);
        const std::string before = rig.exchangeBytes();
        rig.confirmTimerMode(QStringLiteral("1"));
        form.Cpu31->trigger();
        const QStringList shown = rig.transcript();
        form.T6Timer();
        form.T6Timer();
        QCOMPARE(rig.transcript(), shown);
        QVERIFY(form.engine.Log.empty());
        QCOMPARE(rig.exchangeBytes(), before);
        QVERIFY(form.T6->isActive());
        QVERIFY(rig.messages.isEmpty());
    }
}

void ExchangeModeTest::brokenFileIsReportedOnceUntilAReadSucceeds()
{
    struct Case {
        const char* what;
        std::function<void(ExchangeRig&)> breakFile;
        QString inMessage;
    };
    const Case cases[] = {
        {"missing", [](ExchangeRig& r) { fs::remove(r.folder.path() / ExchangeRig::kExchange); },
         QStringLiteral("D:\\Txt.Dat")},
        {"a folder in its place",
         [](ExchangeRig& r) {
             fs::remove(r.folder.path() / ExchangeRig::kExchange);
             fs::create_directory(r.folder.path() / ExchangeRig::kExchange);
         },
         QStringLiteral("D:\\Txt.Dat")},
        {"cut short while being written",
         [](ExchangeRig& r) {
             const std::string whole = tarmel::rtfDocument({tarmel::test::w("Привет!")});
             r.folder.write(ExchangeRig::kExchange, whole.substr(0, whole.size() - 8));
         },
         QStringLiteral("D:\\Txt.Dat")},
    };
    for (const auto& c : cases) {
        for (const bool timerMode : {false, true}) {
            ExchangeRig rig;
            TForm1& form = rig.form();
            rig.writeExchange({"привет"});
            if (timerMode)
                rig.confirmTimerMode(QStringLiteral("1"));
            form.Cpu31->trigger();
            form.T6Timer();
            c.breakFile(rig);
            // Ticks that come while the report is on screen stay silent too.
            tarmel::MessageBox::setRecorder([&rig, &form](const QString& text) {
                rig.messages << text;
                form.T6Timer();
            });
            const qsizetype turns = rig.log().size();
            for (int tick = 0; tick < 5; ++tick)
                form.T6Timer();
            rig.pressEnter();
            QVERIFY2(rig.messages.size() == 1, c.what);
            QVERIFY2(rig.messages[0].contains(c.inMessage), qPrintable(rig.messages[0]));
            QVERIFY2(rig.messages[0].contains(QString::fromStdString(
                         (rig.folder.path() / ExchangeRig::kExchange).string())),
                     qPrintable(rig.messages[0]));
            QCOMPARE(rig.log().size(), turns); // nothing broken is answered
            QVERIFY(form.engine.LoadtxtCpuCpu.empty());
            QVERIFY(form.T6->isActive());

            // A good read in between, then the same failure is told again.
            fs::remove_all(rig.folder.path() / ExchangeRig::kExchange);
            rig.writeExchange({"как дела"});
            form.T6Timer();
            QCOMPARE(rig.messages.size(), 1);
            c.breakFile(rig);
            form.T6Timer();
            form.T6Timer();
            QVERIFY2(rig.messages.size() == 2, c.what);
        }
    }
}

void ExchangeModeTest::failingTimerTurnIsReportedOnce()
{
    ExchangeRig rig;
    TForm1& form = rig.form();
    rig.writeExchange({"неизвестное"});
    rig.confirmTimerMode(QStringLiteral("1"));
    form.Cpu31->trigger();
    fs::remove("Base/W2.Dat"); // the statement replies: every turn on it fails
    for (int tick = 0; tick < 4; ++tick)
        form.T6Timer();
    QCOMPARE(rig.messages.size(), 1);
    QVERIFY2(rig.messages[0].contains(QStringLiteral("W2.Dat")), qPrintable(rig.messages[0]));
    QCOMPARE(rig.exchangeLines(), std::vector<std::string>{"неизвестное"});

    rig.folder.writeLines("Base/W2.Dat", {"Понятно."});
    form.T6Timer();
    QCOMPARE(rig.exchangeLines(), std::vector<std::string>{"Понятно."});
    // (The phrase answered is now a learned key; take another one.)
    rig.writeExchange({"совсем другое"});
    fs::remove("Base/W2.Dat");
    form.T6Timer();
    form.T6Timer();
    QCOMPARE(rig.messages.size(), 2);
}

int main(int argc, char** argv)
{
    tarmel::test::useOffscreenPlatformByDefault();
    QApplication application(argc, argv);
    tarmel::prepareApplication();
    ExchangeModeTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "exchange_mode_test.moc"
