#include "main_window.h"

#include <QTimer>

void TForm1::T2Timer() {}

void TForm1::T10Timer()
{
    T10->stop();
}

void TForm1::T9Timer()
{
    T9->stop();
}

void TForm1::T13Timer()
{
    T13->stop();
}
