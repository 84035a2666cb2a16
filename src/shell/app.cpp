#include "app.h"

#include "about_box.h"
#include "editor_window.h"
#include "main_window.h"
#include "message_box.h"
#include "random.h"
#include "system_clock.h"
#include "virtual_keyboard.h"

#include "errors.h"

#include <QApplication>
#include <QFont>
#include <QTimer>

namespace tarmel {

ProgramWindows::ProgramWindows() = default;
ProgramWindows::ProgramWindows(ProgramWindows&&) noexcept = default;
ProgramWindows& ProgramWindows::operator=(ProgramWindows&&) noexcept = default;
ProgramWindows::~ProgramWindows() = default;

void prepareApplication()
{
    QApplication::setApplicationName(QStringLiteral("tarmel"));
    // The fonts the program was designed with are not on Linux: stand-ins
    // that hold Cyrillic.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Courier New"), {QStringLiteral("Liberation Mono"),
                                                               QStringLiteral("DejaVu Sans Mono")});
    // Comfortaa holds Cyrillic; Comic Neue, closer in look, only Latin.
    QFont::insertSubstitutions(
        QStringLiteral("Comic Sans MS"),
        {QStringLiteral("Comfortaa"), QStringLiteral("Comic Neue"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Verdana"), {QStringLiteral("DejaVu Sans")});
    QFont base(QStringLiteral("MS Sans Serif"));
    base.setPointSize(8);
    QApplication::setFont(base);
}

ProgramWindows createWindows(Random& random, Clock& clock)
{
    ProgramWindows windows;
    try {
        windows.Form1 = std::make_unique<TForm1>(random, clock);
    } catch (const Error& e) {
        MessageBox::showError(QString::fromUtf8(e.what()));
        return windows;
    }
    windows.Form2 = std::make_unique<TForm2>();
    windows.Form2->setMainWindow(windows.Form1.get());
    windows.Form3 = std::make_unique<TForm3>();
    windows.Form4 = std::make_unique<TForm4>();
    windows.Form1->attachWindows(windows.Form2.get(), windows.Form3.get(), windows.Form4.get());
    // The fast pollers of both windows tick in step: one wake-up per period.
    windows.Form1->startControlTick();
    windows.Form4->T1->start();
    return windows;
}

int runProgram(int argc, char** argv)
{
    QApplication application(argc, argv);
    prepareApplication();
    ClockSeededRandom random;
    SystemClock clock;
    ProgramWindows windows = createWindows(random, clock);
    if (!windows.Form1)
        return 1;
    windows.Form1->show();
    // The window takes the keyboard at once, even without a window manager.
    windows.Form1->activateWindow();
    return QApplication::exec();
}

} // namespace tarmel
