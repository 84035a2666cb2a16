#include "main_window.h"

#include <QTimer>

void TForm1::EnRusClick() {}
void TForm1::N36Click() {}
void TForm1::N22Click() {}
void TForm1::N24Click() {}

void TForm1::T11Timer()
{
    T11->stop();
}

void TForm1::N23Click() {}
void TForm1::InputChange() {}
void TForm1::T5Timer() {}

void TForm1::installKeyHook() {}
