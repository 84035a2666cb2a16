#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class TForm1;

// The about box "О программе": the author's photo, the developer, period and
// version, and on demand the history from ReadMe.Txt.
class TForm3 : public QWidget {
    Q_OBJECT
public:
    // Outer heights of the collapsed and the expanded box.
    static constexpr int kCollapsedHeight = 179;
    static constexpr int kExpandedHeight = 327;

    // Builds the box hidden and runs FormCreate (a missing photo is reported
    // and the box goes on without it).
    TForm3();

    // The outer height, title bar included, as the heights above count it;
    // the client area is that less the title bar the layout was designed with.
    int outerHeight() const { return outerHeight_; }
    void setOuterHeight(int height);

    // --- handlers ---
    void FormCreate();   // loads the photo Images\Foto.bmp
    void Button1Click(); // "История": reload the history, expand or collapse
    void Button2Click(); // "Закрыть": back to the main window

    // --- components ---
    QFrame* TabControl1 = nullptr;   // upper part
    QFrame* Bevel1 = nullptr;        // frame line
    QLabel* Label2 = nullptr;        // "АВТОР ПРОДУКТА:"
    QLabel* Inform = nullptr;        // the photo
    QLabel* Label3 = nullptr;        // contact line
    QLabel* Label1 = nullptr;        // developer, period, version
    QPushButton* Button1 = nullptr;  // "История"
    QPushButton* Button2 = nullptr;  // "Закрыть"
    QFrame* TabControl2 = nullptr;   // lower part, seen when expanded
    QPlainTextEdit* Memo1 = nullptr; // the history text

    TForm1* Form1 = nullptr; // the main window that opened the box

private:
    int outerHeight_ = kCollapsedHeight;
};
