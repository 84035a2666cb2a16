#include "about_box.h"

TForm3::TForm3() : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("О программе"));
    setFixedSize(377, 152);
}
