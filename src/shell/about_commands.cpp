#include "main_window.h"

void TForm1::N12Click() {}
