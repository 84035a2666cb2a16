#include "app.h"
#include "cp1251.h"
#include "message_box.h"
#include "quiet_rig.h"
#include "text_codec.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <filesystem>

using tarmel::test::QuietRig;
using tarmel::test::w;

namespace {

const std::string kDashes(80, '-');
const std::string kEquals(53, '=');
const std::string kStart = "Начало диалога:           Дата - 11.12.2026   |   Время - 12:34:56";
std::string endLine(const std::string& time)
{
    return "Конец диалога:           Дата - 11.12.2026   |   Время - " + time;
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<std::string> kHeader = {"", kDashes, kStart, ""};
const std::vector<std::string> kFooter = {"", endLine("12:40:00"), kEquals};
const std::vector<std::string> kFooterAtStart = {"", endLine("12:34:56"), kEquals};

} // namespace

class DialogLifecycleTest : public QObject {
    Q_OBJECT
private slots:
    void loadingReportCountsTheTable();
    void statisticsAreAppendedToTheCaptionsOnce();
    void headerOpensTheLogAndHeadsTheGreeting();
    void exitAppendsTheDialogBlockAndCloses();
    void secondRunAppendsRightAfterTheFirstBlock();
    void failingExitKeepsTheWindowTheFileAndTheLog();
    void newDialogClearsTheDialogButKeepsTheConversation();
    void undoTakesBackOneDisplayLineAndOneLogLine();
};

void DialogLifecycleTest::loadingReportCountsTheTable()
{
    struct Case {
        const char* what;
        std::vector<std::string> table; // empty: no file
        QString report;
        QString message; // part of the error shown
    };
    const Case cases[] = {
        {"shipped test base",
         {"ЗАГОЛОВОК^", "А^а;", "_Б^б;", "__В^в;", "Г^"},
         QStringLiteral("Программе известно:   [главные фразы - 2   ветки - 2]"),
         QString()},
        {"header only",
         {"ЗАГОЛОВОК^"},
         QStringLiteral("Программе известно:   [главные фразы - 0   ветки - 0]"),
         QString()},
        {"no table", {}, QString(), QStringLiteral("Base\\Words.Dat")},
    };
    for (const Case& c : cases) {
        QuietRig rig;
        TForm1& form = rig.form();
        if (c.table.empty())
            std::filesystem::remove("Base/Words.Dat");
        else
            rig.folder.writeLines("Base/Words.Dat", c.table);
        form.T3->start();
        tarmel::runGuarded([&form] { form.T3Timer(); });
        QVERIFY2(form.SB1Panel[1]->text() == c.report, c.what);
        QCOMPARE(form.SB1Panel[0]->text(), QStringLiteral("Загрузка окончена"));
        QVERIFY(!form.Input->isReadOnly());
        QVERIFY(form.Speak->isEnabled());
        QVERIFY(!form.T3->isActive()); // once, also when the table is missing
        QCOMPARE(rig.messages.size(), c.message.isEmpty() ? 0 : 1);
        if (!c.message.isEmpty())
            QVERIFY(rig.messages[0].contains(c.message));
    }
}

void DialogLifecycleTest::statisticsAreAppendedToTheCaptionsOnce()
{
    struct Case {
        const char* what;
        const char* brokenFile; // removed, or emptied when the name starts with "empty:"
        QStringList captions;
        QString message;
    };
    // The rig's base: 4 table lines after the header with 5 answers; 8 lines
    // in BigString, Pause, Povtor, W1, W2 and X.
    const Case cases[] = {
        {"whole base",
         nullptr,
         {QStringLiteral("&Входящие выражения: [4]"), QStringLiteral("&Исходящие выражения: [13]"),
          QStringLiteral("&Итого: [17]")},
         QString()},
        {"empty table",
         "empty:Base/Words.Dat",
         {QStringLiteral("&Входящие выражения: [0]"), QStringLiteral("&Исходящие выражения: [8]"),
          QStringLiteral("&Итого: [8]")},
         QString()},
        {"missing reply list",
         "Base/W1.Dat",
         {QStringLiteral("&Входящие выражения:"), QStringLiteral("&Исходящие выражения:"),
          QStringLiteral("&Итого:")},
         QStringLiteral("Base\\W1.Dat")},
    };
    for (const Case& c : cases) {
        QuietRig rig;
        TForm1& form = rig.form();
        if (c.brokenFile) {
            const std::string name = c.brokenFile;
            if (name.rfind("empty:", 0) == 0)
                rig.folder.write(name.substr(6), "");
            else
                std::filesystem::remove(name);
        }
        form.T8->start();
        tarmel::runGuarded([&form] { form.T8Timer(); });
        QVERIFY(!form.T8->isActive());
        const QStringList captions = {form.N18->text(), form.N19->text(), form.N20->text()};
        QVERIFY2(captions == c.captions, qPrintable(captions.join('|')));
        QCOMPARE(rig.messages.size(), c.message.isEmpty() ? 0 : 1);
        if (!c.message.isEmpty())
            QVERIFY(rig.messages[0].contains(c.message));
    }
}

void DialogLifecycleTest::headerOpensTheLogAndHeadsTheGreeting()
{
    // Whichever of the start timers ticks first, the header comes first in
    // the log and the greeting stays in the transcript.
    QuietRig rig;
    TForm1& form = rig.form();
    form.appendTranscript(QStringLiteral("раньше"), Qt::black, QFont());
    form.T12->start();
    form.T10->start();
    form.T10Timer(); // draw 0: a greeting
    QVERIFY(!form.T12->isActive() && !form.T10->isActive());
    QCOMPARE(rig.log(), kHeader + std::vector<std::string>{"[12:34:56] CPU:     Здравствуй!"});
    QCOMPARE(rig.transcript(), QStringList{QStringLiteral("Здравствуй!")});
}

void DialogLifecycleTest::exitAppendsTheDialogBlockAndCloses()
{
    const std::vector<std::string> hello = {"[12:34:56] USER:     Привет.",
                                            "[12:34:56] CPU:     Привет!"};
    const std::vector<std::string> howAreYou = {"[12:34:56] USER:     Как дела?",
                                                "[12:34:56] CPU:     Нормально."};
    struct Case {
        const char* what;
        void (*dialog)(QuietRig&);
        std::vector<std::string> block;
    };
    const Case cases[] = {
        {"one dialog",
         [](QuietRig& rig) {
             rig.say(QStringLiteral("привет"));
             rig.say(QStringLiteral("как дела?"));
         },
         std::vector<std::string>{""} + kHeader + hello + howAreYou + kFooter},
        {"lines taken back",
         [](QuietRig& rig) {
             rig.say(QStringLiteral("привет"));
             rig.say(QStringLiteral("как дела?"));
             rig.form().CancelClick();
             rig.form().CancelClick();
             rig.form().CancelClick();
         },
         std::vector<std::string>{""} + kHeader + std::vector<std::string>{hello[0]} + kFooter},
        {"new dialog",
         [](QuietRig& rig) {
             rig.say(QStringLiteral("привет"));
             rig.form().N2Click();
             rig.say(QStringLiteral("как дела?"));
         },
         std::vector<std::string>{""} + howAreYou + kFooter},
        {"new dialog, nothing said",
         [](QuietRig& rig) {
             rig.say(QStringLiteral("привет"));
             rig.form().N2Click();
         },
         std::vector<std::string>{""} + kFooter},
    };
    for (const Case& c : cases) {
        QuietRig rig;
        TForm1& form = rig.form();
        form.T12Timer();
        c.dialog(rig);
        rig.clock.time = "12:40:00";
        form.N4Click();
        QVERIFY2(rig.messages.isEmpty(), c.what);
        QVERIFY2(rig.folder.readLines("Base/Log.Dralen") == c.block, c.what);
        QVERIFY(!form.isVisible());
    }
}

void DialogLifecycleTest::secondRunAppendsRightAfterTheFirstBlock()
{
    // The log file may hold plain text written by hand or by an older copy.
    QuietRig rig;
    rig.folder.writeLines("Base/Log.Dralen", {"Старая запись"});
    rig.form().T12Timer();
    rig.say(QStringLiteral("привет"));
    rig.form().N4Click();
    const std::vector<std::string> first = rig.folder.readLines("Base/Log.Dralen");
    QCOMPARE(first.size(), std::size_t{11});
    QCOMPARE(first.front(), std::string("Старая запись"));
    QCOMPARE(first.back(), kEquals);

    // A second run in the same folder.
    tarmel::ProgramWindows second = tarmel::createWindows(rig.random, rig.clock);
    QVERIFY(second.Form1);
    second.Form1->T12Timer();
    rig.random.push({0});
    second.Form1->T10Timer();
    second.Form1->N4Click();
    QCOMPARE(rig.folder.readLines("Base/Log.Dralen"),
             first + std::vector<std::string>{""} + kHeader +
                 std::vector<std::string>{"[12:34:56] CPU:     Здравствуй!"} + kFooterAtStart);
}

void DialogLifecycleTest::failingExitKeepsTheWindowTheFileAndTheLog()
{
    struct Case {
        const char* what;
        void (*breakIt)();
    };
    const Case cases[] = {
        {"log file missing", [] { std::filesystem::remove("Base/Log.Dralen"); }},
        {"log file unreadable",
         [] {
             std::filesystem::remove("Base/Log.Dralen");
             std::filesystem::create_directory("Base/Log.Dralen");
         }},
    };
    for (const Case& c : cases) {
        QuietRig rig;
        TForm1& form = rig.form();
        form.T12Timer();
        rig.say(QStringLiteral("привет"));
        const std::vector<std::string> log = rig.log();
        c.breakIt();
        tarmel::runGuarded([&form] { form.N4Click(); });
        QVERIFY2(rig.messages.size() == 1, c.what);
        QVERIFY2(rig.messages[0].contains(QStringLiteral("Base\\Log.Dralen")),
                 qPrintable(rig.messages[0]));
        QVERIFY(form.isVisible());
        QCOMPARE(rig.log(), log);
        QVERIFY(!std::filesystem::is_regular_file("Base/Log.Dralen"));

        // Once the file is back the exit works.
        std::filesystem::remove_all("Base/Log.Dralen");
        rig.folder.write("Base/Log.Dralen", "");
        form.N4Click();
        QCOMPARE(rig.messages.size(), 1);
        QVERIFY(!form.isVisible());
        QCOMPARE(rig.folder.readLines("Base/Log.Dralen"),
                 std::vector<std::string>{""} + log + kFooterAtStart);
    }
}

void DialogLifecycleTest::newDialogClearsTheDialogButKeepsTheConversation()
{
    QuietRig rig;
    TForm1& form = rig.form();
    form.T12Timer();
    rig.say(QStringLiteral("абракадабра")); // fallback: T9 switched on by the draw 0
    QVERIFY(form.T9->isActive());
    form.Input->setText(QStringLiteral("недописанное"));
    tarmel::DialogState& state = form.engine.state;
    state.IdleTicks = 42;
    state.FollowUpPhrase = w("Потом.");
    state.BranchDepth = 2;
    form.RemarkCounter = 515;
    const tarmel::DialogState before = state;

    form.N2Click();
    QVERIFY(rig.transcript().isEmpty());
    QVERIFY(rig.log().empty());
    QVERIFY(form.Input->text().isEmpty());
    QVERIFY(form.T7->isActive() && form.T10->isActive());
    QVERIFY(form.T9->isActive());
    QCOMPARE(form.RemarkCounter, 515);
    QCOMPARE(state.PreviousReply, before.PreviousReply);
    QCOMPARE(state.PreviousUserPhrase, before.PreviousUserPhrase);
    QCOMPARE(state.LastReply, before.LastReply);
    QCOMPARE(state.FollowUpPhrase, before.FollowUpPhrase);
    QCOMPARE(state.IdleTicks, 42);
    QCOMPARE(state.BranchDepth, 2);
}

void DialogLifecycleTest::undoTakesBackOneDisplayLineAndOneLogLine()
{
    QuietRig rig;
    TForm1& form = rig.form();

    // Nothing to take back.
    form.CancelClick();
    QCOMPARE(form.transcriptLineCount(), 0);
    QVERIFY(rig.log().empty());

    form.T12Timer();
    rig.say(QStringLiteral("привет"));
    // A bot line long enough to wrap over several display lines.
    QString longLine;
    for (int i = 0; i < 40; ++i)
        longLine += QStringLiteral("слово%1 ").arg(i);
    longLine = longLine.trimmed();
    form.engine.PostBotLine(tarmel::fromQt(longLine));
    const int wrapped = form.transcriptLineCount() - 2;
    QVERIFY2(wrapped >= 2, qPrintable(QString::number(wrapped)));
    QCOMPARE(rig.log().size(), std::size_t{7});

    // Ctrl+Z reaches the undo through N3 while the button is enabled; the
    // wrapped entry loses its last display line, the log its whole line.
    rig.tick();
    QVERIFY(form.N3->isEnabled());
    QTest::keyClick(form.Input, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(form.transcriptLineCount(), wrapped + 1);
    QVERIFY(rig.transcript().last().size() < longLine.size());
    QVERIFY(longLine.startsWith(rig.transcript().last()));
    QVERIFY(!rig.transcript().last().endsWith(' '));
    QCOMPARE(rig.log().size(), std::size_t{6});
    QVERIFY(form.T7->isActive());

    // Every further undo takes one display line and one log line.
    for (int lines = wrapped + 1; lines > 0; --lines) {
        const std::size_t logLines = rig.log().size();
        form.CancelClick();
        QCOMPARE(form.transcriptLineCount(), lines - 1);
        QCOMPARE(rig.log().size(), logLines > 0 ? logLines - 1 : 0);
        if (lines == 3)
            QCOMPARE(rig.transcript(),
                     (QStringList{QStringLiteral("Привет."), QStringLiteral("Привет!")}));
    }
    QVERIFY(rig.transcript().isEmpty());
    rig.tick();
    QVERIFY(!form.Cancel->isEnabled() && !form.N3->isEnabled());

    // A long transcript is counted whole right after the window changed its
    // width, not as far as it has been laid out again.
    for (int i = 0; i < 2000; ++i)
        form.appendTranscript(longLine, Qt::black, QFont());
    QCOMPARE(form.transcriptLineCount(), 2000 * wrapped);
    form.RE1->resize(form.RE1->width() / 2, form.RE1->height());
    const int narrow = form.transcriptLineCount();
    QVERIFY2(narrow > 2000 * wrapped, qPrintable(QString::number(narrow)));
    QCOMPARE(narrow % 2000, 0);
    form.CancelClick();
    QCOMPARE(form.transcriptLineCount(), narrow - 1);
}

int main(int argc, char** argv)
{
    tarmel::test::useOffscreenPlatformByDefault();
    QApplication application(argc, argv);
    tarmel::prepareApplication();
    DialogLifecycleTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "dialog_lifecycle_test.moc"
