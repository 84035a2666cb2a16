#include "cp1251.h"
#include "phrase_base.h"
#include "quiet_rig.h"
#include "sound.h"

#include <QApplication>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

using tarmel::test::QuietRig;
using tarmel::test::w;

namespace {

const std::string kBotPrefix = "[12:34:56] CPU:     ";

// What the bot said on its own or in reply, as logged, in UTF-8.
QStringList botLines(const TForm1& form)
{
    QStringList said;
    for (const std::string& line : form.engine.Log.lines()) {
        if (line.rfind(kBotPrefix, 0) == 0)
            said << QString::fromStdString(tarmel::cp1251::toUtf8(line.substr(kBotPrefix.size())));
    }
    return said;
}

std::string fileBytes(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace

class TimedRemarksTest : public QObject {
    Q_OBJECT
private slots:
    void idleRemarkComesOnTheTickThatReachesItsThreshold();
    void idleRemarkAvoidsRepeatingTheLastReplyAndLeavesIt();
    void afterTurnRemarkComesOnTheSecondTickAndNeverSaysTheFirstLine();
    void followUpWaitsForTheCounterToReachTheDrawnPeriod();
    void sharedCounterCouplesTheTwoTimersAndWrapsAround();
    void greetingComesOneTimeInThree();
    void onlyTheIdleRemarkShowsItsTextBeforeItsSound();
    void turnsSwitchTheRemarkTimers();
    void unreadableRemarkFileIsReportedOnceUntilReadAgain();
};

void TimedRemarksTest::idleRemarkComesOnTheTickThatReachesItsThreshold()
{
    struct Case {
        const char* what;
        int draw;            // threshold = 90 + draw, on every tick ...
        int otherTick;       // ... but this tick
        int otherDraw;       // which draws this
        int turnAt;          // a turn right after this tick (0: none)
        QList<int> expected; // ticks that bring a remark, up to tick 250
    };
    const Case cases[] = {
        {"lowest threshold", 0, 0, 0, 0, {90, 180}},
        {"highest threshold", 30, 0, 0, 0, {120, 240}},
        {"one tick's threshold reached", 30, 100, 5, 0, {100, 220}},
        {"threshold met exactly", 30, 110, 20, 0, {110, 230}},
        {"a turn starts the count again", 0, 0, 0, 60, {150, 240}},
    };
    for (const Case& c : cases) {
        QuietRig rig;
        TForm1& form = rig.form();
        QList<int> remarks;
        for (int tick = 1; tick <= 250; ++tick) {
            rig.random.push({tick == c.otherTick ? c.otherDraw : c.draw});
            const int before = botLines(form).size();
            form.T2Timer();
            if (botLines(form).size() > before) {
                remarks << tick;
                QCOMPARE(botLines(form).last(), QStringLiteral("Ты здесь?"));
                QCOMPARE(form.engine.state.IdleTicks, 0);
            }
            if (tick == c.turnAt) {
                rig.say(QStringLiteral("привет"));
                QCOMPARE(form.engine.state.IdleTicks, 0);
            }
        }
        QVERIFY2(remarks == c.expected, c.what);
        QCOMPARE(rig.random.ranges.front(), 31); // thresholds 90 ... 120
        QVERIFY(form.MP5->plays() >= remarks.size());
        QVERIFY(rig.messages.isEmpty());
    }
}

void TimedRemarksTest::idleRemarkAvoidsRepeatingTheLastReplyAndLeavesIt()
{
    QuietRig rig;
    TForm1& form = rig.form();
    tarmel::DialogState& state = form.engine.state;
    state.PreviousReply = w("ТЫ ЗДЕСЬ?");
    for (int draw : {1, 0}) {
        state.IdleTicks = 89;
        rig.random.push({0, 0, draw}); // threshold 90, Pause.Dat line, CPUpvt.dat line
        form.T2Timer();
    }
    QCOMPARE(botLines(form), (QStringList{QStringLiteral("Ты здесь?     (снова)"),
                                          QStringLiteral("Ты здесь?     (опять)")}));
    QCOMPARE(state.ReplyPhrase, w("Ты здесь?     (опять)"));
    QCOMPARE(state.PreviousReply, w("ТЫ ЗДЕСЬ?"));
    QCOMPARE(rig.transcript(), (QStringList{QStringLiteral("Ты здесь?     (снова)"),
                                            QStringLiteral("Ты здесь?     (опять)")}));
    // The remark loaded its files into the scratch list.
    QCOMPARE(form.engine.RE2.line(1), w("(снова)"));
}

void TimedRemarksTest::afterTurnRemarkComesOnTheSecondTickAndNeverSaysTheFirstLine()
{
    struct Case {
        std::vector<std::string> ai;
        int draw;
        int range; // the draw is Random(N - 1)
        QString said;
    };
    const Case cases[] = {
        {{"нулевая", "первая", "вторая"}, 0, 2, QStringLiteral("первая")},
        {{"нулевая", "первая", "вторая"}, 1, 2, QStringLiteral("вторая")},
        {{"нулевая"}, 0, 0, QString()},
        {{}, 0, -1, QString()},
    };
    for (const Case& c : cases) {
        QuietRig rig;
        TForm1& form = rig.form();
        rig.folder.writeLines("Base/AI.dat", c.ai);
        form.engine.LoadList(tarmel::files::kWords); // a later turn's file
        form.engine.state.ReplyPhrase = w("ответ");
        form.T9->start();

        form.T9Timer();
        QCOMPARE(form.RemarkCounter, 500);
        QVERIFY(form.T9->isActive());
        QVERIFY(botLines(form).isEmpty());

        rig.random.push({c.draw});
        form.T9Timer();
        QCOMPARE(botLines(form), QStringList{c.said});
        QCOMPARE(rig.random.ranges.back(), c.range);
        QCOMPARE(form.RemarkCounter, 0);
        QVERIFY(!form.T9->isActive());
        QCOMPARE(form.MP5->plays(), 1);
        // A remark is not a turn: what the turn left stays.
        QCOMPARE(form.engine.state.ReplyPhrase, w("ответ"));
        QCOMPARE(form.engine.RE2.line(0), w("ЗАГОЛОВОК^Таблица;"));
    }
}

void TimedRemarksTest::followUpWaitsForTheCounterToReachTheDrawnPeriod()
{
    struct Case {
        const char* what;
        std::int32_t counter; // before the first tick
        int draw;             // period = 100 + draw
        int tick;             // the tick that says the follow-up
    };
    const Case cases[] = {
        {"shortest period, from 0", 0, 0, 7},      {"longest period, from 0", 0, 999, 74},
        {"sum equal to the period", 0, 5, 7},      {"sum one short of the period", 0, 6, 8},
        {"after an earlier follow-up", 105, 0, 1}, {"pushed up by after-turn ticks", 1500, 999, 1},
        {"negative counter", -20, 0, 8},
    };
    for (const Case& c : cases) {
        QuietRig rig;
        TForm1& form = rig.form();
        form.RemarkCounter = c.counter;
        form.engine.state.FollowUpPhrase = w("А у тебя?");
        form.T13->start();
        int saidAt = 0;
        for (int tick = 1; tick <= 100 && form.T13->isActive(); ++tick) {
            rig.random.push({c.draw});
            form.T13Timer();
            QCOMPARE(form.T13->interval(), 100 + c.draw);
            if (!botLines(form).isEmpty() && !saidAt)
                saidAt = tick;
        }
        QVERIFY2(saidAt == c.tick, c.what);
        QCOMPARE(botLines(form), QStringList{QStringLiteral("А у тебя?")});
        QCOMPARE(form.RemarkCounter, c.counter + 15 * c.tick); // kept
    }
}

void TimedRemarksTest::sharedCounterCouplesTheTwoTimersAndWrapsAround()
{
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    struct Case {
        const char* what;
        std::int32_t counter;
        int followUpTicks;  // T13 ticks first, with the longest period
        std::int32_t after; // the counter after them and one T9 tick
        bool remark;        // that T9 tick speaks
    };
    const Case cases[] = {
        {"T9 alone", 500, 0, 0, true},
        {"T13 brings it to exactly 500", 485, 1, 0, true},
        {"T13 ticked once, counter at 0", 0, 1, 515, false},
        {"T9 wraps around", kMax - 100, 0, kMin + 399, false},
        {"T13 wraps around and stays silent", kMax - 10, 1, kMin + 504, false},
    };
    for (const Case& c : cases) {
        QuietRig rig;
        TForm1& form = rig.form();
        form.RemarkCounter = c.counter;
        form.T13->start();
        for (int i = 0; i < c.followUpTicks; ++i) {
            rig.random.push({999});
            form.T13Timer();
        }
        form.T9->start();
        form.T9Timer();
        QVERIFY2(form.RemarkCounter == c.after, c.what);
        QVERIFY2(botLines(form).size() == (c.remark ? 1 : 0), c.what);
    }

    // From a counter of 0, once T13 has ticked no after-turn remark comes.
    QuietRig rig;
    TForm1& form = rig.form();
    form.engine.state.FollowUpPhrase = w("Потом.");
    form.T13->start();
    rig.random.push({999});
    form.T13Timer();
    for (int turn = 0; turn < 20; ++turn) {
        form.T9->start();
        for (int tick = 0; tick < 5; ++tick)
            form.T9Timer();
    }
    QVERIFY(form.T9->isActive());
    QVERIFY(botLines(form).isEmpty());
    // ... and the follow-up that waited comes at once.
    rig.random.push({999});
    form.T13Timer();
    QCOMPARE(botLines(form), QStringList{QStringLiteral("Потом.")});
}

void TimedRemarksTest::greetingComesOneTimeInThree()
{
    for (int draw : {0, 1, 2}) {
        QuietRig rig;
        TForm1& form = rig.form();
        form.engine.state.PreviousReply = w("ЗДРАВСТВУЙ!"); // no tail for a greeting
        form.T10->start();
        rig.random.push({draw});
        const int reseeds = rig.random.reseeds;
        form.T10Timer();
        QVERIFY(!form.T10->isActive());
        QCOMPARE(rig.random.reseeds, reseeds + 1);
        QCOMPARE(rig.random.ranges.front(), 3);
        const QStringList said =
            draw == 0 ? QStringList{QStringLiteral("Здравствуй!")} : QStringList{};
        QCOMPARE(botLines(form), said);
        QCOMPARE(rig.transcript(), said);
        QCOMPARE(form.MP5->plays(), said.size());
        if (draw == 0)
            QCOMPARE(form.engine.state.ReplyPhrase, w("Здравствуй!"));
    }
}

void TimedRemarksTest::onlyTheIdleRemarkShowsItsTextBeforeItsSound()
{
    struct Case {
        const char* what;
        void (*remark)(TForm1&);
        bool soundFirst;
    };
    const Case cases[] = {
        {"idle remark",
         [](TForm1& f) {
             f.engine.state.IdleTicks = 200;
             f.T2Timer();
         },
         false},
        {"greeting", [](TForm1& f) { f.T10Timer(); }, true},
        {"after-turn remark",
         [](TForm1& f) {
             f.RemarkCounter = 500;
             f.T9Timer();
         },
         true},
        {"follow-up",
         [](TForm1& f) {
             f.RemarkCounter = 2000;
             f.T13Timer();
         },
         true},
    };
    for (const Case& c : cases) {
        QuietRig rig;
        TForm1& form = rig.form();
        int playsWhenShown = -1;
        QObject::connect(form.RE1->document(), &QTextDocument::contentsChanged, &form, [&] {
            if (playsWhenShown < 0)
                playsWhenShown = form.MP5->plays();
        });
        c.remark(form);
        QVERIFY2(playsWhenShown == (c.soundFirst ? 1 : 0), c.what);
        QCOMPARE(form.MP5->plays(), 1);
    }
}

void TimedRemarksTest::turnsSwitchTheRemarkTimers()
{
    // A turn on the fallback road, every draw 0: T9 is switched on.
    QuietRig rig;
    TForm1& form = rig.form();
    form.engine.state.IdleTicks = 50;
    rig.say(QStringLiteral("абракадабра"));
    QCOMPARE(botLines(form).last(), QStringLiteral("Понятно."));
    QCOMPARE(form.engine.state.IdleTicks, 0);
    QVERIFY(form.T9->isActive());
    form.T9Timer();
    form.T9Timer();
    QCOMPARE(botLines(form).last(), QStringLiteral("Кстати, я умею учиться."));

    // A table answer with a follow-up, on a draw of 0, switches T13 on.
    rig.folder.writeLines("Base/Words.Dat", {"ЗАГОЛОВОК^", "ПРИВЕТ^Здравствуй!|Как дела?;"});
    rig.say(QStringLiteral("привет"));
    QCOMPARE(botLines(form).last(), QStringLiteral("Здравствуй!"));
    QVERIFY(form.T13->isActive());
    QCOMPARE(form.engine.state.FollowUpPhrase, w("Как дела?"));
}

void TimedRemarksTest::unreadableRemarkFileIsReportedOnceUntilReadAgain()
{
    struct Case {
        std::string file;
        void (*prepare)(TForm1&); // brings the next tick to reading the file
        void (TForm1::*tick)();
        QTimer* TForm1::*timer;
        bool timerStaysOn;
        QString remark; // said once the file is back
    };
    const Case cases[] = {
        {"Base/Pause.Dat", [](TForm1& f) { f.engine.state.IdleTicks = 200; }, &TForm1::T2Timer,
         &TForm1::T2, true, QStringLiteral("Ты здесь?")},
        {"Base/CPUpvt.dat",
         [](TForm1& f) {
             f.engine.state.IdleTicks = 200;
             f.engine.state.PreviousReply = w("Ты здесь?");
         },
         &TForm1::T2Timer, &TForm1::T2, true, QStringLiteral("Ты здесь?     (опять)")},
        {"Base/Begin.dat", [](TForm1& f) { f.T10->start(); }, &TForm1::T10Timer, &TForm1::T10,
         false, QStringLiteral("Здравствуй!")},
        {"Base/AI.dat",
         [](TForm1& f) {
             f.RemarkCounter = 500;
             f.T9->start();
         },
         &TForm1::T9Timer, &TForm1::T9, false, QStringLiteral("Кстати, я умею учиться.")},
    };
    for (const Case& c : cases) {
        QuietRig rig;
        TForm1& form = rig.form();
        form.T2->start();
        const std::string bytes = fileBytes(c.file);
        const QString name = QString::fromStdString(c.file).replace('/', '\\');
        for (int round = 1; round <= 2; ++round) {
            std::filesystem::remove(c.file);
            for (int tick = 0; tick < 3; ++tick) {
                c.prepare(form);
                (form.*c.tick)();
                QCOMPARE((form.*c.timer)->isActive(), c.timerStaysOn);
            }
            QCOMPARE(rig.messages.size(), round);
            QVERIFY2(rig.messages.last().contains(name), qPrintable(rig.messages.last()));
            QVERIFY(botLines(form).size() == round - 1);

            rig.folder.write(c.file, bytes);
            c.prepare(form);
            (form.*c.tick)();
            QCOMPARE(botLines(form).last(), c.remark);
            QCOMPARE(rig.messages.size(), round);
        }
        QVERIFY(form.T2->isActive());
    }
}

int main(int argc, char** argv)
{
    tarmel::test::useOffscreenPlatformByDefault();
    QApplication application(argc, argv);
    tarmel::prepareApplication();
    TimedRemarksTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "timed_remarks_test.moc"
