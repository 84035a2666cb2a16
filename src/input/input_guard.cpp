// The input guard: a reserved character of the phrase base's line grammar
// typed into the input line empties the line.

#include "input_logic.h"
#include "main_window.h"

#include "text_codec.h"

#include <QLineEdit>
#include <QTextEdit>

void TForm1::T5Timer()
{
    const std::string text = tarmel::fromQt(Input->text());
    const tarmel::input::GuardStep step = tarmel::input::guardScan(text, GuardScanPos);
    GuardScanPos = step.scanPos;
    if (step.hit) {
        // The transcript stays disabled for the rest of the run.
        RE1->setEnabled(false);
        Input->clear();
    }
}
