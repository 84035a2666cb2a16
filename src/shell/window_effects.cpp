#include "main_window.h"

#include <QTimer>

void TForm1::T7Timer()
{
    T7->stop();
}

void TForm1::T4Timer()
{
    T4->stop();
}
