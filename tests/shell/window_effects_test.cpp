#include "message_box.h"
#include "sound.h"
#include "virtual_keyboard.h"
#include "window_rig.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

using tarmel::test::WindowRig;

namespace {

void setShakeRow(TForm1& form, const std::string& row)
{
    tarmel::Lines lines = form.ConfigFile.lines();
    lines[2] = row;
    form.ConfigFile.setLines(lines);
}

// Records every place the window is moved to.
class MoveRecorder : public QObject {
public:
    explicit MoveRecorder(QWidget* window) { window->installEventFilter(this); }
    QList<QPoint> places;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Move)
            places << static_cast<QMoveEvent*>(event)->pos();
        return false;
    }
};

QPoint centredPlace(const QWidget& window)
{
    QRect frame = window.frameGeometry();
    frame.moveCenter(window.screen()->availableGeometry().center());
    return frame.topLeft();
}

} // namespace

class WindowEffectsTest : public QObject {
    Q_OBJECT
private slots:
    void shakeWaitsWhileRowThreeSaysNo();
    void shakeJoltsTheWindowThenCentresItAndOpensTheDialog();
    void aConfigTooShortForTheSwitchStopsTheShakeWithOneReport();
    void leavingCreepsShrinksAndCountsAcrossStops();
    void leavingClosesTheKeyboard();
    void aFailingExitIsReportedOnceAndTheWindowStaysUsable();
};

void WindowEffectsTest::shakeWaitsWhileRowThreeSaysNo()
{
    WindowRig rig;
    TForm1& form = rig.form();
    for (const char* row : {"Shake=NO", "Shake=no", "Shake=nO", "NO"}) {
        setShakeRow(form, row);
        form.appendTranscript(QStringLiteral("строка"), Qt::black, QFont());
        form.T10->stop();
        const QPoint place = form.pos();
        form.T7Timer();
        QVERIFY2(form.T7->isActive(), row);
        QVERIFY(!form.T10->isActive());
        QCOMPARE(form.MP4->plays(), 0);
        QCOMPARE(form.pos(), place);
        QVERIFY(!rig.transcript().isEmpty());
        QVERIFY(rig.random.ranges.empty());
    }
}

void WindowEffectsTest::shakeJoltsTheWindowThenCentresItAndOpensTheDialog()
{
    for (const char* row : {"Shake=NO ", "Shake=YES", ""}) {
        WindowRig rig;
        TForm1& form = rig.form();
        setShakeRow(form, row);
        form.move(300, 200);
        form.appendTranscript(QStringLiteral("приветствие"), Qt::black, QFont());
        const std::size_t logLines = form.engine.Log.count();
        form.T10->stop();
        // 125 + 3 moves; the places run over the whole range 95 ... 105.
        rig.random.push({3});
        for (int i = 0; i < 128; ++i)
            rig.random.push({i % 11, (i * 7 + 3) % 11});
        const MoveRecorder moves(&form);
        form.T7Timer();

        QCOMPARE(rig.random.reseeds, 1);
        QCOMPARE(rig.random.ranges.size(), std::size_t{1 + 2 * 128});
        QCOMPARE(rig.random.ranges[0], 126);
        QCOMPARE(rig.random.ranges[1], 11);
        QCOMPARE(form.MP4->plays(), 1);
        QVERIFY2(moves.places.size() >= 128, qPrintable(QString::number(moves.places.size())));
        QSet<int> lefts;
        for (int i = 0; i < moves.places.size() - 1; ++i) {
            const QPoint p = form.frameGeometry().topLeft() - form.pos() + moves.places[i];
            QVERIFY(p.y() >= 95 && p.y() <= 105);
            lefts << p.x();
        }
        QVERIFY(lefts.contains(95) && lefts.contains(105));

        QCOMPARE(form.pos(), centredPlace(form));
        QVERIFY(!form.T7->isActive());
        QVERIFY(form.T10->isActive());
        QVERIFY(rig.transcript().isEmpty());
        QCOMPARE(form.engine.Log.count(), logLines);
        QVERIFY(!form.Input->isReadOnly());
        for (QMenu* menu : {form.N1, form.N5, form.N11, form.N25})
            QVERIFY(menu->menuAction()->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
    }
}

void WindowEffectsTest::aConfigTooShortForTheSwitchStopsTheShakeWithOneReport()
{
    WindowRig rig;
    TForm1& form = rig.form();
    form.ConfigFile.setLines({"[Tarmel]", "Version=2.526"});
    form.appendTranscript(QStringLiteral("строка"), Qt::black, QFont());
    tarmel::runGuarded([&form] { form.T7Timer(); });
    QCOMPARE(rig.messages.size(), 1);
    QVERIFY(rig.messages[0].contains(QStringLiteral("Config.ini")));
    // Stopped, so the timer does not report it again at every tick.
    QVERIFY(!form.T7->isActive());
    QCOMPARE(form.MP4->plays(), 0);
    QVERIFY(!rig.transcript().isEmpty());
}

void WindowEffectsTest::leavingCreepsShrinksAndCountsAcrossStops()
{
    WindowRig rig;
    TForm1& form = rig.form();
    form.move(400, 300);
    const QRect start = form.frameGeometry();
    const QSize startSize = form.size();
    form.setLeaving(true); // a leaving answer
    for (int i = 0; i < 9; ++i)
        form.T4Timer();
    QCOMPARE(form.LeaveTicks, 9);
    QCOMPARE(form.MP6->plays(), 0);
    QCOMPARE(form.frameGeometry().topLeft(), start.topLeft() - QPoint(27, 18));
    QCOMPARE(form.size(), startSize - QSize(90, 72));
    form.T4Timer();
    QCOMPARE(form.MP6->plays(), 1);

    // A later plain answer stops it where it is; a leaving one goes on from
    // the count reached.
    form.setLeaving(false);
    const QRect stopped = form.frameGeometry();
    form.setLeaving(true);
    QCOMPARE(form.frameGeometry(), stopped);
    QCOMPARE(form.LeaveTicks, 10);
    while (form.LeaveTicks < 79)
        form.T4Timer();
    QVERIFY(form.T4->isActive());
    // The window system's smallest size: from there on it only moves.
    QCOMPARE(form.size(), QSize(112, 27));
    QCOMPARE(form.frameGeometry().topLeft(), start.topLeft() - QPoint(3 * 79, 2 * 79));
    form.T4Timer();
    QCOMPARE(form.LeaveTicks, 80);
    QVERIFY(!form.T4->isActive());
    QCOMPARE(form.MP6->plays(), 80 - 9);
}

void WindowEffectsTest::leavingClosesTheKeyboard()
{
    WindowRig rig;
    TForm1& form = rig.form();
    form.T4Timer(); // keyboard hidden: nothing to close
    QVERIFY(!rig.windows.Form4->isVisible());
    rig.windows.Form4->show();
    form.T4Timer();
    QVERIFY(!rig.windows.Form4->isVisible());
    QCOMPARE(form.LeaveTicks, 2);
}

void WindowEffectsTest::aFailingExitIsReportedOnceAndTheWindowStaysUsable()
{
    WindowRig rig;
    TForm1& form = rig.form();
    // The log file cannot be written: a folder stands in its place.
    std::filesystem::remove("Base/Log.Dralen");
    std::filesystem::create_directory("Base/Log.Dralen");
    form.setLeaving(true);
    int ticks = 0;
    while (form.T4->isActive() && ticks < 200) {
        tarmel::runGuarded([&form] { form.T4Timer(); });
        ++ticks;
    }
    QCOMPARE(ticks, 80);
    QVERIFY2(rig.messages.size() <= 1, qPrintable(rig.messages.join('\n')));
    if (!rig.messages.isEmpty()) {
        QVERIFY(form.isVisible());
        rig.type(QStringLiteral("привет"));
        rig.tick();
        rig.pressEnter();
        QCOMPARE(rig.transcript().last(), QStringLiteral("Привет!"));
    }
}

int main(int argc, char** argv)
{
    tarmel::test::useOffscreenPlatformByDefault();
    QApplication application(argc, argv);
    tarmel::prepareApplication();
    WindowEffectsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_effects_test.moc"
