#include "virtual_keyboard.h"

TForm4::TForm4() : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Виртуальная клавиатура"));
    setFixedSize(353, 145);
}

void TForm4::N2Click()
{
    hide();
}
