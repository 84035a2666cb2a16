#include "editor_window.h"

#include <QLineEdit>
#include <QSpinBox>

TForm2::TForm2() : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Редактор"));
    setFixedSize(305, 185);
    Edit1 = new QLineEdit(QStringLiteral("D:\\Txt.Dat"), this);
    Edit1->setGeometry(16, 24, 273, 21);
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setRange(1, 36000);
    SpinEdit1->setValue(1);
    SpinEdit1->setEnabled(false);
}
