// The layout fix: text typed in the Latin layout becomes the Cyrillic text of
// the same keys ("E/R" and Ctrl+S).

#include "input_logic.h"
#include "main_window.h"
#include "sound.h"

#include "cp1251.h"

#include <QLineEdit>
#include <QToolButton>

void TForm1::EnRusClick()
{
    MP3->play();
    const QString before = Input->text();
    QString after = before;
    // Only ASCII characters are keys of the map; everything else, including
    // characters the code page cannot hold, stays exactly as typed.
    for (QChar& c : after) {
        if (c.unicode() < 0x80) {
            const char fixed = tarmel::input::layoutFixed(static_cast<char>(c.unicode()));
            c = QChar(static_cast<char16_t>(tarmel::cp1251::toUnicode(fixed)));
        }
    }
    if (after != before)
        Input->setText(after);
}

void TForm1::N36Click()
{
    // Ctrl+S acts only while the button it stands for does.
    if (EnRus->isEnabled())
        EnRus->click();
}
