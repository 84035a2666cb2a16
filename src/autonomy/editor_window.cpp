#include "editor_window.h"

#include <QLineEdit>

TForm2::TForm2() : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Редактор"));
    setFixedSize(305, 185);
    Edit1 = new QLineEdit(QStringLiteral("D:\\Txt.Dat"), this);
    Edit1->setGeometry(16, 24, 273, 21);
}
