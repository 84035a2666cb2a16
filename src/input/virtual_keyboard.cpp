#include "virtual_keyboard.h"

#include "main_window.h"
#include "message_box.h"

#include "cp1251.h"
#include "text_codec.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kClientWidth = 353;
constexpr int kClientHeight = 145;
const QColor kSilver(0xC0, 0xC0, 0xC0);

const QString kCapsOff = QStringLiteral("Caps Lock [не нажат]");
const QString kCapsOn = QStringLiteral("Caps Lock [нажат]");

// One row of character keys: their names and characters (UTF-8) in order
// from the left, placed inside a group box.
struct KeyRow {
    bool letters;
    int top;
    int firstLeft;
    int step; // distance between the left edges, also the key's width
    std::initializer_list<std::pair<const char*, const char*>> keys;
};

const KeyRow kKeyRows[] = {
    {false,
     16,
     33,
     16,
     {{"SB4", "#"},
      {"SB5", "$"},
      {"SB6", "%"},
      {"SB7", "&"},
      {"Sd8", "*"},
      {"SB13", "+"},
      {"SB14", "="},
      {"SB15", "\\"},
      {"SB17", "/"},
      {"SB18", "["},
      {"SB19", "]"},
      {"SB20", "{"},
      {"SB21", "}"},
      {"SB64", "~"},
      {"SB65", "`"}}},
    {false,
     33,
     65,
     16,
     {{"SB28", ","},
      {"SB27", "."},
      {"SB2", "!"},
      {"SB22", "?"},
      {"SB9", "("},
      {"SB10", ")"},
      {"SB11", "-"},
      {"SB12", ":"},
      {"SB24", "\""},
      {"SB25", "<"},
      {"SB26", ">"}}},
    {true,
     16,
     8,
     17,
     {{"SB29", "А"},
      {"SB30", "Б"},
      {"SB31", "В"},
      {"SB32", "Г"},
      {"SB33", "Д"},
      {"SB34", "Е"},
      {"SB35", "Ё"},
      {"SB36", "Ж"},
      {"SB37", "З"},
      {"SB38", "И"},
      {"SB39", "Й"},
      {"SB40", "К"},
      {"SB41", "Л"},
      {"SB42", "М"},
      {"SB43", "Н"},
      {"SB44", "О"},
      {"SB45", "П"}}},
    {true,
     33,
     16,
     17,
     {{"SB46", "Р"},
      {"SB47", "С"},
      {"SB48", "Т"},
      {"SB49", "У"},
      {"SB50", "Ф"},
      {"SB51", "Х"},
      {"SB52", "Ц"},
      {"SB53", "Ч"},
      {"SB54", "Ш"},
      {"SB55", "Щ"},
      {"SB56", "Ъ"},
      {"SB57", "Ы"},
      {"SB58", "Ь"},
      {"SB59", "Э"},
      {"SB60", "Ю"},
      {"SB61", "Я"}}},
};

// A flat speed button: it never takes the keyboard focus.
QToolButton* makeKey(QWidget* parent, const char* name, const QString& caption, const QRect& place)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(place);
    return button;
}

} // namespace

TForm4::TForm4() : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Виртуальная клавиатура"));
    buildComponents();
    buildMenu();
    connectHandlers();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(TabControl1);
    setFixedSize(kClientWidth, kClientHeight + MainMenu1->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    T1 = new QTimer(this);
    T1->setInterval(kPollTickMs);
    connect(T1, &QTimer::timeout, this, [this] { tarmel::runGuarded([this] { T1Timer(); }); });
    T1->start();

    FormCreate();
}

void TForm4::attachMainWindow(TForm1* form)
{
    Form1 = form;
}

void TForm4::buildComponents()
{
    TabControl1 = new QFrame(this);
    TabControl1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    TabControl1->setFixedSize(kClientWidth, kClientHeight);
    TabControl1->setAutoFillBackground(true);
    QPalette background = TabControl1->palette();
    background.setColor(QPalette::Window, kSilver);
    TabControl1->setPalette(background);

    auto makeGroup = [this](const QString& title, const QRect& place) {
        auto* group = new QGroupBox(title, TabControl1);
        group->setGeometry(place);
        // An etched frame with the white caption on its top line, so that the
        // keys' places inside the box are the same as in a classic group box.
        group->setStyleSheet(
            QStringLiteral("QGroupBox { border: 2px groove #e8e8e8; margin-top: 6px; }"
                           "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 "
                           "2px; color: white; }"));
        return group;
    };
    GroupBox1 = makeGroup(QStringLiteral("Знаки:"), QRect(3, 3, 305, 57));
    GroupBox2 = makeGroup(QStringLiteral("Буквы:"), QRect(3, 60, 305, 57));

    for (const KeyRow& row : kKeyRows) {
        QGroupBox* group = row.letters ? GroupBox2 : GroupBox1;
        const int width = row.letters ? 17 : 16;
        int left = row.firstLeft;
        for (const auto& [name, utf8] : row.keys) {
            const QString caption = QString::fromUtf8(utf8);
            // "&" would mark an access key; doubled it shows as itself.
            QToolButton* button =
                makeKey(group, name, caption == u"&" ? QStringLiteral("&&") : caption,
                        QRect(left, row.top, width, 17));
            if (row.letters) {
                QPalette black = button->palette();
                black.setColor(QPalette::ButtonText, Qt::black);
                button->setPalette(black);
            }
            charKeys_.push_back({button, tarmel::cp1251::fromUtf8(utf8).front(), row.letters});
            left += row.step;
        }
    }

    SB62 = makeKey(TabControl1, "SB62", QStringLiteral("Bcksp"), QRect(310, 9, 41, 50));
    SB66 = makeKey(TabControl1, "SB66", QStringLiteral("[Enter]"), QRect(310, 65, 41, 51));
    SB23 = makeKey(TabControl1, "SB23", QStringLiteral("Пробел"), QRect(26, 119, 134, 22));
    SB63 = makeKey(TabControl1, "SB63", kCapsOff, QRect(161, 119, 123, 22));
}

void TForm4::buildMenu()
{
    MainMenu1 = new QMenuBar(this);
    N1 = MainMenu1->addMenu(QStringLiteral("&Система"));
    N2 = N1->addAction(QStringLiteral("С&крыть виртуальную клавиатуру"));
    // F5 rides on an action of the window itself: a hidden menu entry would
    // not fire its shortcut.
    N3 = new QAction(QStringLiteral("-"), this);
    N3->setShortcut(QKeySequence(Qt::Key_F5));
    N3->setShortcutContext(Qt::WindowShortcut);
    addAction(N3);
}

void TForm4::connectHandlers()
{
    auto guarded = [this](void (TForm4::*handler)()) {
        return [this, handler] { tarmel::runGuarded([this, handler] { (this->*handler)(); }); };
    };
    connect(N2, &QAction::triggered, this, guarded(&TForm4::N2Click));
    connect(N3, &QAction::triggered, this, guarded(&TForm4::N3Click));
    connect(SB23, &QToolButton::clicked, this, guarded(&TForm4::SB23Click));
    connect(SB62, &QToolButton::clicked, this, guarded(&TForm4::SB62Click));
    connect(SB66, &QToolButton::clicked, this, guarded(&TForm4::SB66Click));
    connect(SB63, &QToolButton::clicked, this, guarded(&TForm4::SB63Click));
    for (std::size_t i = 0; i < charKeys_.size(); ++i) {
        const int index = static_cast<int>(i);
        connect(charKeys_[i].button, &QToolButton::clicked, this,
                [this, index] { tarmel::runGuarded([this, index] { CharKeyClick(index); }); });
    }
}

QToolButton* TForm4::key(std::string_view name) const
{
    return findChild<QToolButton*>(
        QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

QString TForm4::inputText() const
{
    return Form1 ? Form1->Input->text() : QString();
}

void TForm4::setInputText(const QString& text)
{
    if (Form1)
        Form1->Input->setText(text);
}

// --- handlers ---

void TForm4::FormCreate()
{
    CapsState = 0;
}

void TForm4::N2Click()
{
    T1->stop();
    if (Form1)
        Form1->closeSecondary(this);
    else
        hide();
}

void TForm4::N3Click()
{
    // Acts only while the main window's F5 does.
    if (Form1 && Form1->N23->isEnabled())
        Form1->N23Click();
}

void TForm4::T1Timer()
{
    if (!Form1)
        return;
    const bool hasText = !inputText().isEmpty();
    SB62->setEnabled(hasText);
    SB66->setEnabled(hasText);
    Form1->N23->setEnabled(Form1->completionOffered());
}

void TForm4::CharKeyClick(int keyIndex)
{
    const CharKey& charKey = charKeys_.at(static_cast<std::size_t>(keyIndex));
    const char character = charKey.letter && CapsState == 0
                               ? tarmel::cp1251::toLower(charKey.character)
                               : charKey.character;
    setInputText(inputText() + tarmel::toQt(std::string(1, character)));
}

void TForm4::SB23Click()
{
    setInputText(inputText() + QLatin1Char(' '));
}

void TForm4::SB62Click()
{
    QString text = inputText();
    if (text.isEmpty())
        return;
    // A character outside the basic plane is two halves; both go.
    const bool pair = text.size() >= 2 && text.back().isLowSurrogate() &&
                      text.at(text.size() - 2).isHighSurrogate();
    text.chop(pair ? 2 : 1);
    setInputText(text);
}

void TForm4::SB66Click()
{
    // A click on "Сказать" whatever its enabled state: its click signal is
    // raised directly, since a disabled button ignores click().
    if (Form1)
        emit Form1->Speak->clicked();
}

void TForm4::SB63Click()
{
    CapsState = CapsState == 0 ? 1 : 0;
    SB63->setText(CapsState == 1 ? kCapsOn : kCapsOff);
}

void TForm4::closeEvent(QCloseEvent* event)
{
    if (!isVisible())
        return; // nothing to restore
    // The window is never destroyed: it is hidden the way its menu does it.
    event->ignore();
    N2Click();
}

// --- the main window's menu entry "&Вызвать виртуальную клавиатуру" ---

void TForm1::N22Click()
{
    if (!Form4)
        return;
    openSecondary(Form4);
    Form4->T1->start();
    T5->start(); // in step with the keyboard's tick
}
