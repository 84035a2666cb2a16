#pragma once

#include <QDialog>

class QLineEdit;
class QSpinBox;

// The exchange-file editor "Редактор".
class TForm2 : public QWidget {
    Q_OBJECT
public:
    TForm2();

    QLineEdit* Edit1 = nullptr;    // path of the exchange file
    QSpinBox* SpinEdit1 = nullptr; // reading period of timer mode
};
