#pragma once

// A working folder with a small phrase base, settings and sounds, and the
// program's four windows built in it, for window tests.

#include "app.h"
#include "main_window.h"
#include "test_support.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace tarmel::test {

// Sets QT_QPA_PLATFORM=offscreen when it is unset; call before QApplication.
void useOffscreenPlatformByDefault();

// Writes the sound files and a Config.ini of 31 lines into the current folder.
void writeProgramFiles(const TempFolder& folder);

// The program started in a prepared folder: the program files are written,
// then `prepare` may change them (a Config.ini of its own, a file removed),
// then the windows are created with error reports recorded.
struct ProgramStart {
    explicit ProgramStart(const std::function<void()>& prepare = {});
    TForm1& form() { return *windows.Form1; }

    BaseFolder folder;
    ScriptedRandom random;
    FixedClock clock;
    ProgramWindows windows;
    QStringList messages; // error reports shown
};

class WindowRig {
public:
    WindowRig();
    ~WindowRig();

    TForm1& form() { return *windows.Form1; }
    // Sends the text as key presses with text, the way a keyboard does.
    void type(const QString& text);
    void pressEnter();
    // Runs one tick of T1, as the timer would.
    void tick() { form().T1Timer(); }
    // Transcript paragraphs, as plain text.
    QStringList transcript() const;

    BaseFolder folder;
    ScriptedRandom random;
    FixedClock clock;
    ProgramWindows windows;
    QStringList messages; // error reports shown
};

} // namespace tarmel::test
