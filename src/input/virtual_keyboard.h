#pragma once

#include <QWidget>

#include <string_view>
#include <vector>

class QAction;
class QCloseEvent;
class QFrame;
class QGroupBox;
class QMenu;
class QMenuBar;
class QTimer;
class QToolButton;
class TForm1;

// The on-screen keyboard "Виртуальная клавиатура": Russian letters and common
// punctuation that type into the main window's input line and send it. It is
// created hidden, shown by the main window's N22Click and hidden again by N2Click.
class TForm4 : public QWidget {
    Q_OBJECT
public:
    TForm4();

    // The main window whose input line the keys type into.
    void attachMainWindow(TForm1* form);

    // --- handlers ---
    void FormCreate(); // CapsState back to lower case
    void N2Click(); // "С&крыть виртуальную клавиатуру": closes the keyboard
    void N3Click();                  // F5: accepts the word completion
    void T1Timer();                  // the keyboard's own control-state tick
    void CharKeyClick(int keyIndex); // one of the character keys: adds its character
    void SB23Click();                // "Пробел": adds a space
    void SB62Click();                // "Bcksp": removes the last character
    void SB66Click();                // "[Enter]": sends the line
    void SB63Click();                // Caps Lock: letters in upper or lower case

    // The key with this component name ("SB45", "Sd8", "SB62", ...), or null.
    QToolButton* key(std::string_view name) const;

    // --- components ---
    QMenuBar* MainMenu1 = nullptr;
    QMenu* N1 = nullptr;            // "&Система"
    QAction* N2 = nullptr;          // "С&крыть виртуальную клавиатуру"
    QAction* N3 = nullptr;          // F5: accept the completion (hidden shortcut)
    QFrame* TabControl1 = nullptr;  // the frame that fills the window
    QGroupBox* GroupBox1 = nullptr; // "Знаки:", the symbol keys
    QGroupBox* GroupBox2 = nullptr; // "Буквы:", the letter keys
    QToolButton* SB62 = nullptr;    // "Bcksp"
    QToolButton* SB66 = nullptr;    // "[Enter]"
    QToolButton* SB23 = nullptr;    // "Пробел"
    QToolButton* SB63 = nullptr;    // "Caps Lock [не нажат]" / "Caps Lock [нажат]"
    QTimer* T1 = nullptr;           // the keyboard's tick, runs while it is shown

    // --- state ---
    int CapsState = 0; // 0: letter keys add lower case, 1: upper case

protected:
    // A close by any other means than the menu restores the main window as
    // N2Click does.
    void closeEvent(QCloseEvent* event) override;

private:
    struct CharKey {
        QToolButton* button;
        char character; // Windows-1251; upper case for letters
        bool letter;
    };

    void buildComponents();
    void buildMenu();
    void connectHandlers();
    // Writes the whole new text into the main window's input line.
    void setInputText(const QString& text);
    QString inputText() const;

    TForm1* Form1 = nullptr;
    std::vector<CharKey> charKeys_; // the 59 character keys
};
