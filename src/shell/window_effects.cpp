#include "main_window.h"

#include "config_values.h"
#include "random.h"
#include "sound.h"
#include "virtual_keyboard.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <qguiapplication_platform.h>

#include <chrono>
#include <thread>
#include <xcb/xcb.h>

namespace {

// The shake: how many moves and where, in screen pixels.
constexpr int kFewestMoves = 125;
constexpr int kMostMoves = 250;
constexpr int kNearest = 95;
constexpr int kFarthest = 105;

// The leaving animation.
constexpr int kLeaveTicks = 80;     // the exit at this tick
constexpr int kCloseSoundTick = 10; // the closing sound from this tick on
constexpr int kStepUp = 2;          // pixels per tick
constexpr int kStepLeft = 3;
constexpr int kStepNarrower = 10;
constexpr int kStepLower = 8;
// The smallest window the window system allows; from there on the window only moves.
constexpr int kSmallestWidth = 112;
constexpr int kSmallestHeight = 27;

// Hands a move to the X server at once and gives it a moment to show it.
// Nothing is dispatched: no timer fires and no input is taken meanwhile.
// (Other platforms show a move without help.)
void showMoveNow()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && x11->connection()) {
        xcb_flush(x11->connection());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void centreOnDesktop(QWidget& window)
{
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

// The busy pointer for as long as the shake runs.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

} // namespace

void TForm1::T7Timer()
{
    bool off = false;
    try {
        off = tarmel::config::shakeSwitchedOff(ConfigFile);
    } catch (...) {
        // A Config.ini too short for the switch: no shake, and one report
        // rather than one at every tick.
        T7->stop();
        throw;
    }
    if (off)
        return;

    const BusyPointer busy;
    tarmel::Random& random = engine.random;
    random.reseed();
    MP4->play();

    Input->setReadOnly(true);
    for (QMenu* menu : {N1, N5, N11, N25})
        menu->menuAction()->setEnabled(false);

    const int moves = kFewestMoves + random.draw(kMostMoves - kFewestMoves + 1);
    for (int i = 0; i < moves; ++i) {
        const int left = kNearest + random.draw(kFarthest - kNearest + 1);
        const int top = kNearest + random.draw(kFarthest - kNearest + 1);
        move(pos().x(), top);
        move(left, top);
        showMoveNow();
    }
    centreOnDesktop(*this);

    Input->setReadOnly(false);
    for (QMenu* menu : {N1, N5, N11})
        menu->menuAction()->setEnabled(true);
    T7->stop();
    T10->start();
    N25->menuAction()->setEnabled(true);
    RE1->clear();
}

void TForm1::T4Timer()
{
    if (Form4 && Form4->isVisible())
        Form4->N2Click();
    ++LeaveTicks;
    if (LeaveTicks >= kLeaveTicks) {
        // Stopped before the exit runs, so that an exit that fails is
        // reported once and the window stays as it is, usable.
        T4->stop();
        N4Click();
    }
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    const int width = std::max(kSmallestWidth, inner.width() - kStepNarrower);
    const int height = std::max(kSmallestHeight, inner.height() - kStepLower);
    setFixedSize(width, height);
    move(frame.x() - kStepLeft, frame.y() - kStepUp);
    if (LeaveTicks >= kCloseSoundTick)
        MP6->play();
}
