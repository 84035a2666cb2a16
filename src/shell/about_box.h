#pragma once

#include <QWidget>

// The about box "О программе".
class TForm3 : public QWidget {
    Q_OBJECT
public:
    TForm3();
};
