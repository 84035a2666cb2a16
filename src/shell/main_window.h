#pragma once

#include "config_file.h"
#include "conversation.h"
#include "host.h"
#include "line_file.h"
#include "pickers.h"

#include <QMainWindow>
#include <QRect>
#include <QString>

#include <optional>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTextEdit;
class QTimer;
class QToolButton;

class TForm2;
class TForm3;
class TForm4;

namespace tarmel {
class SoundPlayer;
class Clock;
class Random;
} // namespace tarmel

// The timers' "as fast as they go" period.
inline constexpr int kFastTickMs = 15;
// The period of the timers that poll all the time (control state, input
// guard, the keyboard's tick). A little slower than the effects' pace: no
// one sees the difference, and the idle program wakes a quarter less often.
inline constexpr int kPollTickMs = 20;

// The main window: the transcript, the input row, the menu, the status bar,
// the timers and sound players, and the conversation engine behind them.
class TForm1 : public QMainWindow, public tarmel::Host {
    Q_OBJECT
public:
    // Builds every component and opens the six sound players (Error naming
    // the sound file when one is missing), then runs FormCreate.
    TForm1(tarmel::Random& random, tarmel::Clock& clock);
    ~TForm1() override;

    // The secondary windows, created after this one.
    void attachWindows(TForm2* editor, TForm3* about, TForm4* keyboard);

    // --- tarmel::Host ---
    bool exchangeMode() const override;
    std::string inputText() const override;
    std::string exchangePath() const override;
    void clearInput() override;
    void setBusyCursor(bool busy) override;
    void playUserSound() override;
    void playBotSound() override;
    void showLine(const std::string& text, tarmel::TextStyle style) override;
    void setLeaving(bool on) override;
    void armFollowUp() override;
    void setAfterTurnRemark(bool on) override;

    // Secondary windows are opened and closed by one convention.
    void openSecondary(QWidget* window);
    // Starts the control-state tick T1 and restarts the input guard T5 with
    // it: the fast pollers then wake the program once per period, not once
    // each.
    void startControlTick();
    void closeSecondary(QWidget* window);

    // Lines of the transcript as displayed: a wrapped entry counts as several
    // display lines; an empty last line is not counted.
    int transcriptLineCount() const;
    // Appends a line to the transcript in a colour and font.
    void appendTranscript(const QString& text, const QColor& color, const QFont& font);

    // --- handlers (one per event, named after component and event) ---
    void FormCreate();
    void T1Timer();
    void TalkClick();
    void SpeakClick();

    // Dialog lifecycle and log file
    void T3Timer();
    void T12Timer();
    void T8Timer();
    void N2Click();
    void CancelClick();
    void N3Click();
    void N4Click();

    // Timed remarks
    void T2Timer();
    void T10Timer();
    void T9Timer();
    void T13Timer();

    // Settings and appearance
    void N6Click();
    void N21Click();
    void N16Click();
    void N9Click();
    void User1Click();
    void Cpu1Click();
    void Mystring2Click();
    void User2Click();
    void Cpu2Click();
    void Mystring1Click();
    void N13Click();
    void N40Click();

    // Window effects
    void T7Timer();
    void T4Timer();

    // Cpu\Cpu mode
    void CpuUser1Click();
    void Cpu31Click();
    void N38Click();
    void T6Timer();

    // Input aids
    void EnRusClick();
    void N36Click();
    void N22Click();
    void N24Click();
    void T11Timer();
    void N23Click();
    void InputChange();
    void T5Timer();
    // Installs AppMessage, the application-wide key hook (last step of FormCreate).
    void installKeyHook();
    // The key hook: runs once for each key-down in any window of the program
    // (key is a Qt::Key); it never consumes the key, `handled` stays false.
    void AppMessage(int key, bool& handled);
    // Panel 0 shows a completion that F5 can accept (the rule that enables N23).
    bool completionOffered() const;

    // About box
    void N12Click();

    // --- components ---
    QFrame* TabControl1 = nullptr; // sunken frame around the transcript
    QTextEdit* RE1 = nullptr;      // the transcript
    QPushButton* Talk = nullptr;   // hidden default button: Enter clicks it
    QFrame* TabControl2 = nullptr; // the input row
    QLineEdit* Input = nullptr;    // the user's phrase, at most 255 characters
    QToolButton* Cancel = nullptr; // "<": undo the last line
    QToolButton* EnRus = nullptr;  // "E/R": keyboard layout fix
    QToolButton* Speak = nullptr;  // "Сказать": one conversation turn
    QLabel* SB1Panel[3] = {};      // status bar panels 0, 1, 2

    // Menu
    QMenu* N1 = nullptr;          // "&Система"
    QAction* N2 = nullptr;        // "&Новый диалог"
    QAction* N23 = nullptr;       // F5: append the completion (hidden shortcut)
    QMenu* N17 = nullptr;         // "&Подробнее о базе:"
    QAction* N18 = nullptr;       // "&Входящие выражения:"
    QAction* N19 = nullptr;       // "&Исходящие выражения:"
    QAction* N20 = nullptr;       // "&Итого:"
    QAction* N3 = nullptr;        // Ctrl+Z: undo (hidden shortcut)
    QAction* N4 = nullptr;        // "В&ыход"
    QMenu* N5 = nullptr;          // "&Настройки"
    QAction* N6 = nullptr;        // window background colour
    QAction* N21 = nullptr;       // transcript background colour
    QAction* N16 = nullptr;       // input background colour
    QAction* N9 = nullptr;        // button font colours
    QMenu* N7 = nullptr;          // "Цвет &реплик"
    QAction* User1 = nullptr;     // UserStyle colour
    QAction* Cpu1 = nullptr;      // CpuStyle colour
    QAction* Mystring2 = nullptr; // MyStringStyle colour
    QMenu* N10 = nullptr;         // "&Параметры шрифта"
    QAction* User2 = nullptr;     // UserStyle font
    QAction* Cpu2 = nullptr;      // CpuStyle font
    QAction* Mystring1 = nullptr; // MyStringStyle font
    QAction* N13 = nullptr;       // restore initial settings; check mark as indicator
    QMenu* N25 = nullptr;         // "Сервис"
    QAction* N22 = nullptr;       // open the on-screen keyboard
    QAction* N24 = nullptr;       // "Speed Word" on/off (check mark)
    QAction* N40 = nullptr;       // "&Full Screen" (check mark)
    QMenu* N37 = nullptr;         // "&Режим"
    QAction* CpuUser1 = nullptr;  // Cpu\User mode (check mark)
    QAction* Cpu31 = nullptr;     // Cpu\Cpu mode (check mark)
    QAction* N38 = nullptr;       // open the exchange-file editor
    QMenu* N11 = nullptr;         // "С&правка"
    QAction* N12 = nullptr;       // open the about box
    QAction* N36 = nullptr;       // Ctrl+S: layout fix (hidden shortcut)

    // Sound players
    tarmel::SoundPlayer* MP1 = nullptr; // typing
    tarmel::SoundPlayer* MP2 = nullptr; // the user's line
    tarmel::SoundPlayer* MP3 = nullptr; // layout fix
    tarmel::SoundPlayer* MP4 = nullptr; // start-up shake
    tarmel::SoundPlayer* MP5 = nullptr; // a bot line
    tarmel::SoundPlayer* MP6 = nullptr; // leaving animation

    // Pickers; ColorDialog2/3 and FontDialog1/2 also keep the two text styles.
    tarmel::ColorPicker ColorDialog1; // backgrounds, button fonts, input text
    tarmel::ColorPicker ColorDialog2; // UserStyle colour
    tarmel::ColorPicker ColorDialog3; // CpuStyle colour
    tarmel::FontPicker FontDialog1;   // UserStyle font
    tarmel::FontPicker FontDialog2;   // CpuStyle font
    tarmel::FontPicker FontDialog3;   // MyStringStyle font, 8 pt only

    // Timers
    QTimer* T1 = nullptr;  // control-state refresh, periodic
    QTimer* T2 = nullptr;  // idle remark, every second
    QTimer* T3 = nullptr;  // loading report, one-shot
    QTimer* T4 = nullptr;  // leaving animation
    QTimer* T5 = nullptr;  // input guard, periodic
    QTimer* T6 = nullptr;  // exchange-file reader in Cpu\Cpu mode
    QTimer* T7 = nullptr;  // start-up shake
    QTimer* T8 = nullptr;  // base statistics, one-shot after a second
    QTimer* T9 = nullptr;  // after-turn remark, every second while on
    QTimer* T10 = nullptr; // greeting, one-shot
    QTimer* T11 = nullptr; // word-completion search, one-shot
    QTimer* T12 = nullptr; // dialog header, one-shot
    QTimer* T13 = nullptr; // follow-up remark

    // Hidden lists and state
    tarmel::ConfigFile ConfigFile; // the lines of Config.ini
    tarmel::Lines SpeedWord;       // the completion dictionary
    tarmel::Conversation engine;   // dialog state, RE2, Log, LoadtxtCpuCpu

    // --- dialog lifecycle and timed remarks ---
    std::int32_t RemarkCounter = 0; // shared by T9 and T13, wraps around
    // Remark files reported unreadable and not read successfully since: each
    // is reported once, not on every tick.
    std::vector<std::string> UnreadableRemarkFiles;
    // Lets Ctrl+Z reach N3 while it is enabled; the input line would take it
    // as its own undo. Called once by the constructor.
    void routeUndoKey();

    // --- window effects ---
    int LeaveTicks = 0; // leaving-animation ticks, never reset

    // --- input aids ---
    int CompletionIndex = -1;   // entry the last completion search stopped at
    std::string CompletionTail; // what F5 appends
    int GuardScanPos = 0;       // position the input guard examined last
    QObject* KeyHook = nullptr; // the application event filter that runs AppMessage

    TForm2* Form2 = nullptr; // exchange-file editor
    TForm3* Form3 = nullptr; // about box
    TForm4* Form4 = nullptr; // on-screen keyboard

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildComponents();
    void buildMenu();
    void buildTimers();
    void connectHandlers();
    QTimer* makeTimer(int intervalMs, bool running, void (TForm1::*handler)());

    bool busyCursor_ = false;

public:
    // --- Cpu\Cpu mode ---
    // Reads the exchange file into LoadtxtCpuCpu. A failure (missing,
    // unreadable, cut short) empties the list and is reported once: the next
    // report comes only after a successful read in between.
    bool readExchangeFile();
    // One timer-mode turn; a failure is reported once until a turn succeeds.
    void runExchangeTurn();
    bool ExchangeReadFailed = false; // the last read failed and was reported
    bool ExchangeTurnFailed = false; // the last timer-mode turn failed and was reported

    // --- settings and appearance ---
public:
    // The main window's background colour.
    void setWindowBackground(const QColor& colour);
    // A speed button's caption colour; disabled, the caption shows greyed
    // but readable against the window's background.
    void setButtonCaptionColour(QToolButton* button, const QColor& colour);

private:
    std::optional<QRect> normalPlace_; // the window's place while in full screen
};
