#include "main_window.h"

#include "message_box.h"
#include "sound.h"
#include "text_codec.h"

#include "about_box.h"
#include "editor_window.h"
#include "virtual_keyboard.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr int kClientWidth = 587;
constexpr int kClientHeight = 361;
constexpr int kStatusHeight = 19;

const QColor kSilver(0xC0, 0xC0, 0xC0);

QToolButton* makeSpeedButton(QWidget* parent, const QString& caption, const QRect& place,
                             const QString& hint)
{
    auto* button = new QToolButton(parent);
    button->setText(caption);
    button->setAutoRaise(true);
    button->setGeometry(place);
    button->setCursor(Qt::PointingHandCursor);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);
    button->setEnabled(false);
    return button;
}

} // namespace

TForm1::TForm1(tarmel::Random& random, tarmel::Clock& clock)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint),
      engine(*this, random, clock)
{
    setWindowTitle(QStringLiteral("-=ТАРМЕЛЬ=-   Разработчик: Норавин.   [v2.526]"));
    setObjectName(QStringLiteral("Form1"));
    buildComponents();
    buildMenu();
    buildTimers();

    // The six sound players; a missing file ends the start.
    MP1 = new tarmel::SoundPlayer(QStringLiteral("Sound\\KeyBoard.wav"), this);
    MP2 = new tarmel::SoundPlayer(QStringLiteral("Sound\\Button3.wav"), this);
    MP3 = new tarmel::SoundPlayer(QStringLiteral("Sound\\Button2.wav"), this);
    MP4 = new tarmel::SoundPlayer(QStringLiteral("Sound\\Button1.wav"), this);
    MP5 = new tarmel::SoundPlayer(QStringLiteral("Sound\\CpuSound.wav"), this);
    MP6 = new tarmel::SoundPlayer(QStringLiteral("Sound\\Close.wav"), this);

    connectHandlers();
    routeUndoKey();
    const int menuHeight = menuBar()->sizeHint().height();
    setFixedSize(kClientWidth, kClientHeight + menuHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    FontDialog3.onlyEightPoint = true;
    tarmel::runGuarded([this] { FormCreate(); });
}

TForm1::~TForm1() = default;

void TForm1::attachWindows(TForm2* editor, TForm3* about, TForm4* keyboard)
{
    Form2 = editor;
    Form3 = about;
    Form4 = keyboard;
    if (keyboard)
        keyboard->attachMainWindow(this);
}

void TForm1::buildComponents()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setCursor(Qt::ForbiddenCursor);
    client->setAutoFillBackground(true);
    QPalette background = client->palette();
    background.setColor(QPalette::Window, kSilver);
    client->setPalette(background);
    setCentralWidget(client);

    TabControl1 = new QFrame(client);
    TabControl1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    TabControl1->setGeometry(0, 0, 588, 313);

    RE1 = new QTextEdit(TabControl1);
    RE1->setObjectName(QStringLiteral("RE1"));
    RE1->setGeometry(3, 5, 581, 304);
    RE1->setReadOnly(true);
    RE1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RE1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RE1->setLineWrapMode(QTextEdit::WidgetWidth);
    RE1->viewport()->setCursor(Qt::ForbiddenCursor);
    RE1->setToolTip(QStringLiteral("Поле для отображения диалога"));
    QPalette transcript = RE1->palette();
    transcript.setColor(QPalette::Base, kSilver);
    // The selection stays visible while the input has the focus.
    transcript.setColor(QPalette::Inactive, QPalette::Highlight,
                        transcript.color(QPalette::Active, QPalette::Highlight));
    transcript.setColor(QPalette::Inactive, QPalette::HighlightedText,
                        transcript.color(QPalette::Active, QPalette::HighlightedText));
    RE1->setPalette(transcript);

    Talk = new QPushButton(QStringLiteral("<ENTER> (Для кнопки сказать)"), TabControl1);
    Talk->setGeometry(-200, 107, 186, 17);
    Talk->setFocusPolicy(Qt::NoFocus);
    Talk->setEnabled(false);

    TabControl2 = new QFrame(client);
    TabControl2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    TabControl2->setGeometry(0, 312, 585, 30);
    TabControl2->setCursor(Qt::ForbiddenCursor);

    Input = new QLineEdit(TabControl2);
    Input->setObjectName(QStringLiteral("Input"));
    Input->setGeometry(3, 5, 422, 21);
    Input->setMaxLength(255);
    Input->setToolTip(QStringLiteral("Поле для ввода фразы пользователя"));
    Input->setCursor(Qt::IBeamCursor);
    QPalette inputPalette = Input->palette();
    inputPalette.setColor(QPalette::Base, kSilver);
    inputPalette.setColor(QPalette::Text, Qt::black);
    Input->setPalette(inputPalette);

    Cancel = makeSpeedButton(TabControl2, QStringLiteral("<"), QRect(426, 5, 27, 22),
                             QStringLiteral("Отмена (Альтернатива клавиша: <Ctrl + Z>)"));
    EnRus = makeSpeedButton(TabControl2, QStringLiteral("E/R"), QRect(453, 5, 43, 22),
                            QStringLiteral("Раскладка (Альтернатива клавиша: <Ctrl + S>)"));
    Speak =
        makeSpeedButton(TabControl2, QStringLiteral("Сказать"), QRect(496, 5, 86, 22),
                        QStringLiteral("Кнопка отправки текста (Альтернативная клавиша: <ENTER>)"));

    QStatusBar* bar = statusBar();
    bar->setFixedHeight(kStatusHeight);
    bar->setSizeGripEnabled(false);
    bar->setCursor(Qt::WhatsThisCursor);
    bar->setToolTip(QStringLiteral("Индикатор"));
    const int widths[3] = {130, 322, 50};
    for (int i = 0; i < 3; ++i) {
        SB1Panel[i] = new QLabel(bar);
        SB1Panel[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        SB1Panel[i]->setMinimumWidth(widths[i]);
        if (i < 2)
            SB1Panel[i]->setFixedWidth(widths[i]);
        bar->addWidget(SB1Panel[i], i == 2 ? 1 : 0);
    }
    SB1Panel[2]->setText(QStringLiteral("Режим Cpu\\User"));
}

void TForm1::buildMenu()
{
    QMenuBar* bar = menuBar();
    auto hiddenShortcut = [this](const QKeySequence& keys) {
        // Carried by an action of the window itself: it acts while enabled.
        auto* action = new QAction(QStringLiteral("-"), this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setEnabled(false);
        addAction(action);
        return action;
    };

    N1 = bar->addMenu(QStringLiteral("&Система"));
    N2 = N1->addAction(QStringLiteral("&Новый диалог"));
    N1->addSeparator();
    N23 = hiddenShortcut(QKeySequence(Qt::Key_F5));
    N17 = N1->addMenu(QStringLiteral("&Подробнее о базе:"));
    N18 = N17->addAction(QStringLiteral("&Входящие выражения:"));
    N19 = N17->addAction(QStringLiteral("&Исходящие выражения:"));
    N20 = N17->addAction(QStringLiteral("&Итого:"));
    N1->addSeparator();
    N3 = hiddenShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    N4 = N1->addAction(QStringLiteral("В&ыход"));

    N5 = bar->addMenu(QStringLiteral("&Настройки"));
    N6 = N5->addAction(QStringLiteral("&Цвет основного фона "));
    N21 = N5->addAction(QStringLiteral("Ц&вет фона поля вывода реплик"));
    N16 = N5->addAction(QStringLiteral("Цв&ет фона поля ввода реплик"));
    N9 = N5->addAction(QStringLiteral("Цве&т шрифтов кнопок на панели"));
    N7 = N5->addMenu(QStringLiteral("Цвет &реплик"));
    User1 = N7->addAction(QStringLiteral("&User"));
    Cpu1 = N7->addAction(QStringLiteral("&Cpu"));
    Mystring2 = N7->addAction(QStringLiteral("&My string"));
    N10 = N5->addMenu(QStringLiteral("&Параметры шрифта"));
    User2 = N10->addAction(QStringLiteral("&User"));
    Cpu2 = N10->addAction(QStringLiteral("&Cpu"));
    Mystring1 = N10->addAction(QStringLiteral("&My string"));
    N5->addSeparator();
    N13 = N5->addAction(QStringLiteral("Вернуть первоначальные настройки"));
    N13->setCheckable(true);
    N13->setChecked(true);

    N25 = bar->addMenu(QStringLiteral("Сервис"));
    N22 = N25->addAction(QStringLiteral("&Вызвать виртуальную клавиатуру"));
    N24 = N25->addAction(QStringLiteral("Speed Word"));
    N24->setCheckable(true);
    N40 = N25->addAction(QStringLiteral("&Full Screen"));
    N40->setCheckable(true);
    N25->addSeparator();
    N37 = N25->addMenu(QStringLiteral("&Режим"));
    CpuUser1 = N37->addAction(QStringLiteral("&Cpu\\User"));
    CpuUser1->setCheckable(true);
    CpuUser1->setChecked(true);
    Cpu31 = N37->addAction(QStringLiteral("C&pu\\Cpu"));
    Cpu31->setCheckable(true);
    N38 = N25->addAction(QStringLiteral("Ре&дактор"));

    N11 = bar->addMenu(QStringLiteral("С&правка"));
    N12 = N11->addAction(QStringLiteral("&О программе..."));

    N36 = hiddenShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
}

QTimer* TForm1::makeTimer(int intervalMs, bool running, void (TForm1::*handler)())
{
    auto* timer = new QTimer(this);
    timer->setInterval(intervalMs);
    // Coarse timers may be woken together, which keeps the idle program cheap.
    timer->setTimerType(Qt::CoarseTimer);
    connect(timer, &QTimer::timeout, this,
            [this, handler] { tarmel::runGuarded([this, handler] { (this->*handler)(); }); });
    if (running)
        timer->start();
    return timer;
}

void TForm1::buildTimers()
{
    T1 = makeTimer(kPollTickMs, true, &TForm1::T1Timer);
    T2 = makeTimer(1000, true, &TForm1::T2Timer);
    T3 = makeTimer(kFastTickMs, true, &TForm1::T3Timer);
    T4 = makeTimer(kFastTickMs, false, &TForm1::T4Timer);
    T5 = makeTimer(kPollTickMs, true, &TForm1::T5Timer);
    T6 = makeTimer(kFastTickMs, false, &TForm1::T6Timer);
    T7 = makeTimer(kFastTickMs, true, &TForm1::T7Timer);
    T8 = makeTimer(1000, true, &TForm1::T8Timer);
    T9 = makeTimer(1000, false, &TForm1::T9Timer);
    T10 = makeTimer(kFastTickMs, true, &TForm1::T10Timer);
    T11 = makeTimer(kFastTickMs, true, &TForm1::T11Timer);
    T12 = makeTimer(kFastTickMs, true, &TForm1::T12Timer);
    T13 = makeTimer(kFastTickMs, false, &TForm1::T13Timer);
}

void TForm1::connectHandlers()
{
    auto on = [this](QAction* action, void (TForm1::*handler)()) {
        connect(action, &QAction::triggered, this,
                [this, handler] { tarmel::runGuarded([this, handler] { (this->*handler)(); }); });
    };
    auto onClick = [this](QAbstractButton* button, void (TForm1::*handler)()) {
        connect(button, &QAbstractButton::clicked, this,
                [this, handler] { tarmel::runGuarded([this, handler] { (this->*handler)(); }); });
    };
    onClick(Speak, &TForm1::SpeakClick);
    onClick(Talk, &TForm1::TalkClick);
    onClick(Cancel, &TForm1::CancelClick);
    onClick(EnRus, &TForm1::EnRusClick);
    connect(Input, &QLineEdit::textChanged, this,
            [this] { tarmel::runGuarded([this] { InputChange(); }); });

    on(N2, &TForm1::N2Click);
    on(N23, &TForm1::N23Click);
    on(N3, &TForm1::N3Click);
    on(N4, &TForm1::N4Click);
    on(N6, &TForm1::N6Click);
    on(N21, &TForm1::N21Click);
    on(N16, &TForm1::N16Click);
    on(N9, &TForm1::N9Click);
    on(User1, &TForm1::User1Click);
    on(Cpu1, &TForm1::Cpu1Click);
    on(Mystring2, &TForm1::Mystring2Click);
    on(User2, &TForm1::User2Click);
    on(Cpu2, &TForm1::Cpu2Click);
    on(Mystring1, &TForm1::Mystring1Click);
    on(N13, &TForm1::N13Click);
    on(N22, &TForm1::N22Click);
    on(N24, &TForm1::N24Click);
    on(N40, &TForm1::N40Click);
    on(CpuUser1, &TForm1::CpuUser1Click);
    on(Cpu31, &TForm1::Cpu31Click);
    on(N38, &TForm1::N38Click);
    on(N12, &TForm1::N12Click);
    on(N36, &TForm1::N36Click);
}

// --- tarmel::Host ---

bool TForm1::exchangeMode() const
{
    return Cpu31->isChecked();
}

std::string TForm1::inputText() const
{
    return tarmel::fromQt(Input->text());
}

std::string TForm1::exchangePath() const
{
    return Form2 ? Form2->Edit1->text().toStdString() : std::string("D:\\Txt.Dat");
}

void TForm1::clearInput()
{
    Input->clear();
}

void TForm1::setBusyCursor(bool busy)
{
    if (busy == busyCursor_)
        return;
    busyCursor_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TForm1::playUserSound()
{
    MP2->play();
}

void TForm1::playBotSound()
{
    MP5->play();
}

void TForm1::showLine(const std::string& text, tarmel::TextStyle style)
{
    if (style == tarmel::TextStyle::User)
        appendTranscript(tarmel::toQt(text), ColorDialog2.value, FontDialog1.value);
    else
        appendTranscript(tarmel::toQt(text), ColorDialog3.value, FontDialog2.value);
}

// Switching on a timer that is already on changes nothing: its next tick
// stays where it was.
void TForm1::setLeaving(bool on)
{
    if (!on)
        T4->stop();
    else if (!T4->isActive())
        T4->start();
}

void TForm1::armFollowUp()
{
    if (!T13->isActive())
        T13->start();
}

void TForm1::setAfterTurnRemark(bool on)
{
    if (!on)
        T9->stop();
    else if (!T9->isActive())
        T9->start();
}

// --- transcript ---

void TForm1::appendTranscript(const QString& text, const QColor& color, const QFont& font)
{
    QTextCursor cursor(RE1->document());
    cursor.movePosition(QTextCursor::End);
    if (!RE1->document()->isEmpty())
        cursor.insertBlock();
    QTextBlockFormat block;
    block.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(block);
    QTextCharFormat format;
    format.setFont(font);
    format.setForeground(color);
    cursor.setCharFormat(format);
    cursor.insertText(text);
    RE1->setCurrentCharFormat(format);
    RE1->ensureCursorVisible();
}

int TForm1::transcriptLineCount() const
{
    QTextDocument* document = RE1->document();
    // Lays the document out to its end; a long one is otherwise laid out in
    // steps while the program idles.
    document->documentLayout()->blockBoundingRect(document->lastBlock());
    int lines = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const bool last = !block.next().isValid();
        if (last && block.text().isEmpty())
            break;
        const QTextLayout* layout = block.layout();
        lines += layout && layout->lineCount() > 0 ? layout->lineCount() : 1;
    }
    return lines;
}

// --- secondary windows ---

void TForm1::openSecondary(QWidget* window)
{
    T1->stop();
    setEnabled(false);
    window->show();
    window->setEnabled(true);
    window->raise();
    window->activateWindow();
}

void TForm1::startControlTick()
{
    T1->start();
    T5->start();
}

void TForm1::closeSecondary(QWidget* window)
{
    startControlTick();
    setEnabled(true);
    window->hide();
    activateWindow();
}

// --- the frame's own handlers ---

void TForm1::T1Timer()
{
    const bool hasText = !Input->text().isEmpty();
    Speak->setEnabled(hasText);
    EnRus->setEnabled(hasText);
    N36->setEnabled(hasText);
    Talk->setEnabled(hasText);

    // transcriptLineCount() > 0 without walking the transcript on every tick:
    // a display line exists unless the transcript is one empty line.
    const bool hasLines = !RE1->document()->isEmpty();
    Cancel->setEnabled(hasLines);
    N3->setEnabled(hasLines);

    if (!hasText && N24->isChecked())
        T11->start();

    const QString panel = SB1Panel[0]->text();
    N23->setEnabled(!panel.isEmpty() && panel != QStringLiteral("[NONE]") &&
                    panel != QStringLiteral("Загрузка окончена"));

    if (!Input->hasFocus())
        Input->setFocus();
}

void TForm1::TalkClick()
{
    // The turn itself rather than Speak->click(): Qt ignores clicks on a
    // disabled button, and in Cpu\Cpu mode Speak keeps the state it had when
    // T1 stopped while Enter must still answer the exchange file.
    SpeakClick();
}

void TForm1::SpeakClick()
{
    engine.RunTurn();
}

void TForm1::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Talk->click(); // does nothing while Talk is disabled
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    // Closing the main window ends the program, without writing the log.
    event->accept();
    QApplication::quit();
}
