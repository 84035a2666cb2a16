#pragma once

#include <QDialog>

class QLineEdit;

// The exchange-file editor "Редактор".
class TForm2 : public QWidget {
    Q_OBJECT
public:
    TForm2();

    QLineEdit* Edit1 = nullptr; // path of the exchange file
};
