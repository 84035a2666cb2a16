#pragma once

#include <QWidget>

class QCloseEvent;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TForm1;

// The exchange-file editor "Редактор": the path of the exchange file and how
// it is read in Cpu\Cpu mode (by Enter or by timer). Created hidden at start
// and kept for the whole run; its fields keep their values while it is hidden,
// and the main window reads them live.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    TForm2();

    // The main window: its settings file, its N13 mark and the
    // secondary-window convention. Set once, right after both exist.
    void setMainWindow(TForm1* mainWindow) { Form1 = mainWindow; }

    // The number field's value as the program takes it: a text that is not a
    // whole number reads as 1, and the bounds 1 ... 36000 hold.
    int periodValue() const;

    // --- handlers ---
    void Edit1Change();     // the path changed: N13 loses its mark
    void SpinEdit1Change(); // the number changed: N13 loses its mark
    void RB1Click();        // trigger Enter: the number field is disabled
    void RB2Click();        // trigger timer: the number field is enabled
    void Button1Click();    // "Хорошо": write the path, seconds to ms, close
    void Button2Click();    // "Отмена": close

    // --- components ---
    QFrame* Bevel1 = nullptr;       // frame around the client area
    QGroupBox* GroupBox1 = nullptr; // frames the path field
    QLineEdit* Edit1 = nullptr;     // path of the exchange file
    QGroupBox* GroupBox2 = nullptr; // frames the trigger choice
    QRadioButton* RB1 = nullptr;    // read by Enter (selected at start)
    QRadioButton* RB2 = nullptr;    // read by timer
    QSpinBox* SpinEdit1 = nullptr;  // reading period of timer mode
    QLabel* Label1 = nullptr;       // "сек.", the unit shown to the user
    QPushButton* Button1 = nullptr; // "Хорошо"
    QPushButton* Button2 = nullptr; // "Отмена"

protected:
    // The window has no close box; closed by other means it cancels.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildComponents();
    void connectHandlers();

    TForm1* Form1 = nullptr;
};
