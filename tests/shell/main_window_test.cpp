#include "cp1251.h"
#include "editor_window.h"
#include "message_box.h"
#include "window_rig.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

using tarmel::test::WindowRig;

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startsWithTheLayoutAndStatesOfTheFrame();
    void typedCyrillicPhraseIsAnsweredOnEnter();
    void enterDoesNothingWhileTheInputIsEmpty();
    void buttonsFollowTheInputAndTheTranscript();
    void missingSoundFileEndsTheStartNamingIt();
    void missingReplyFileIsReportedAndTheProgramGoesOn();
    void charactersOutsideTheCodePageBecomeQuestionMarks();
};

void MainWindowTest::startsWithTheLayoutAndStatesOfTheFrame()
{
    WindowRig rig;
    TForm1& form = rig.form();
    QCOMPARE(form.windowTitle(), QStringLiteral("-=ТАРМЕЛЬ=-   Разработчик: Норавин.   [v2.526]"));
    QCOMPARE(form.Input->maxLength(), 255);
    QVERIFY(!form.Speak->isEnabled());
    QVERIFY(!form.Cancel->isEnabled());
    QVERIFY(!form.EnRus->isEnabled());
    QVERIFY(form.CpuUser1->isChecked());
    QVERIFY(!form.Cpu31->isChecked());
    QVERIFY(form.N13->isChecked());
    QCOMPARE(form.SB1Panel[2]->text(), QStringLiteral("Режим Cpu\\User"));
    QCOMPARE(form.N3->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(form.N23->shortcut(), QKeySequence(Qt::Key_F5));
    QCOMPARE(form.N36->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));

    struct Timer {
        QTimer* timer;
        int interval;
        bool running;
    };
    const Timer timers[] = {
        {form.T1, 20, true},  {form.T2, 1000, true}, {form.T3, 15, true},   {form.T4, 15, false},
        {form.T5, 20, true},  {form.T6, 15, false},  {form.T8, 1000, true}, {form.T9, 1000, false},
        {form.T10, 15, true}, {form.T11, 15, true},  {form.T12, 15, true},  {form.T13, 15, false},
    };
    for (const auto& t : timers) {
        QCOMPARE(t.timer->interval(), t.interval);
        QCOMPARE(t.timer->isActive(), t.running);
    }
    QVERIFY(rig.windows.Form2 && rig.windows.Form3 && rig.windows.Form4);
    QVERIFY(!rig.windows.Form2->isVisible());
}

void MainWindowTest::typedCyrillicPhraseIsAnsweredOnEnter()
{
    WindowRig rig;
    TForm1& form = rig.form();
    rig.type(QStringLiteral("привет"));
    QCOMPARE(form.Input->text(), QStringLiteral("привет"));
    rig.tick();
    QVERIFY(form.Talk->isEnabled());
    rig.pressEnter();
    QCOMPARE(rig.transcript(), (QStringList{QStringLiteral("Привет."), QStringLiteral("Привет!")}));
    QVERIFY(form.Input->text().isEmpty());
    QCOMPARE(tarmel::cp1251::toUtf8(form.engine.Log.line(0)),
             std::string("[12:34:56] USER:     Привет."));
    rig.tick();
    QVERIFY(!form.Speak->isEnabled());
    QVERIFY(form.Cancel->isEnabled());
    QVERIFY(rig.messages.isEmpty());
}

void MainWindowTest::enterDoesNothingWhileTheInputIsEmpty()
{
    WindowRig rig;
    rig.tick();
    rig.pressEnter();
    QVERIFY(rig.transcript().isEmpty());
    QCOMPARE(rig.form().engine.Log.count(), std::size_t{0});
}

void MainWindowTest::buttonsFollowTheInputAndTheTranscript()
{
    WindowRig rig;
    TForm1& form = rig.form();
    rig.type(QStringLiteral("а"));
    rig.tick();
    QVERIFY(form.Speak->isEnabled() && form.EnRus->isEnabled() && form.Talk->isEnabled());
    QVERIFY(form.N36->isEnabled());
    QVERIFY(!form.Cancel->isEnabled() && !form.N3->isEnabled());
    form.Input->clear();
    form.appendTranscript(QStringLiteral("строка"), Qt::black, QFont());
    rig.tick();
    QVERIFY(!form.Speak->isEnabled() && !form.EnRus->isEnabled() && !form.Talk->isEnabled());
    QVERIFY(form.Cancel->isEnabled() && form.N3->isEnabled());

    // F5 follows the first status panel.
    struct Panel {
        QString text;
        bool f5;
    };
    const Panel panels[] = {{QString(), false},
                            {QStringLiteral("[NONE]"), false},
                            {QStringLiteral("Загрузка окончена"), false},
                            {QStringLiteral("привет"), true}};
    for (const auto& p : panels) {
        form.SB1Panel[0]->setText(p.text);
        rig.tick();
        QCOMPARE(form.N23->isEnabled(), p.f5);
    }
}

void MainWindowTest::missingSoundFileEndsTheStartNamingIt()
{
    tarmel::test::BaseFolder folder;
    tarmel::test::writeProgramFiles(folder);
    std::filesystem::remove("Sound/CpuSound.wav");
    QStringList messages;
    tarmel::MessageBox::setRecorder([&messages](const QString& text) { messages << text; });
    tarmel::test::ScriptedRandom random;
    tarmel::test::FixedClock clock;
    const tarmel::ProgramWindows windows = tarmel::createWindows(random, clock);
    tarmel::MessageBox::setRecorder({});
    QVERIFY(!windows.Form1);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages[0].contains(QStringLiteral("Sound\\CpuSound.wav")), qPrintable(messages[0]));
}

void MainWindowTest::missingReplyFileIsReportedAndTheProgramGoesOn()
{
    WindowRig rig;
    std::filesystem::remove("Base/W2.Dat");
    rig.type(QStringLiteral("неизвестное"));
    rig.tick();
    rig.pressEnter();
    QCOMPARE(rig.messages.size(), 1);
    QVERIFY(rig.messages[0].contains(QStringLiteral("W2.Dat")));
    QCOMPARE(rig.form().Input->text(), QStringLiteral("неизвестное"));
    // Once the file is back the same phrase is answered.
    rig.folder.writeLines("Base/W2.Dat", {"Понятно."});
    rig.pressEnter();
    QCOMPARE(rig.transcript().last(), QStringLiteral("Понятно."));
}

void MainWindowTest::charactersOutsideTheCodePageBecomeQuestionMarks()
{
    WindowRig rig;
    rig.type(QStringLiteral("日本 кот"));
    rig.tick();
    rig.pressEnter();
    QCOMPARE(rig.transcript().first(), QStringLiteral("?? кот."));
}

int main(int argc, char** argv)
{
    tarmel::test::useOffscreenPlatformByDefault();
    QApplication application(argc, argv);
    tarmel::prepareApplication();
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
