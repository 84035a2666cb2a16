#pragma once

#include <QWidget>

// The on-screen keyboard "Виртуальная клавиатура".
class TForm4 : public QWidget {
    Q_OBJECT
public:
    TForm4();

    // "С&крыть виртуальную клавиатуру": closes the keyboard.
    void N2Click();
};
