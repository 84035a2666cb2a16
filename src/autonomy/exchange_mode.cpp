#include "main_window.h"

void TForm1::CpuUser1Click() {}
void TForm1::Cpu31Click() {}
void TForm1::N38Click() {}
void TForm1::T6Timer() {}
