#pragma once

#include <memory>

class TForm1;
class TForm2;
class TForm3;
class TForm4;

namespace tarmel {

class Clock;
class Random;

// The four windows of the program, created at start in this order and kept
// until exit.
struct ProgramWindows {
    std::unique_ptr<TForm1> Form1;
    std::unique_ptr<TForm2> Form2;
    std::unique_ptr<TForm3> Form3;
    std::unique_ptr<TForm4> Form4;
    ProgramWindows();
    ProgramWindows(ProgramWindows&&) noexcept;
    ProgramWindows& operator=(ProgramWindows&&) noexcept;
    ~ProgramWindows();
};

// Font substitutions for the fonts the settings name, and the application's
// display name. Call once after the QApplication exists.
void prepareApplication();

// Creates the windows. When the main window cannot be built (a sound file is
// missing) the message has been shown and Form1 is empty.
ProgramWindows createWindows(Random& random, Clock& clock);

// The whole program: returns the process's exit code.
int runProgram(int argc, char** argv);

} // namespace tarmel
