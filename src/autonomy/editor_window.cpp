#include "editor_window.h"

#include "main_window.h"
#include "message_box.h"
#include "text_codec.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>

#include <algorithm>

namespace {

constexpr int kClientWidth = 305;
constexpr int kClientHeight = 185;
constexpr int kMinPeriod = 1;
constexpr int kMaxPeriod = 36000;

} // namespace

TForm2::TForm2()
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Редактор"));
    setFixedSize(kClientWidth, kClientHeight);
    buildComponents();
    connectHandlers();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TForm2::buildComponents()
{
    Bevel1 = new QFrame(this);
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(2, 2, kClientWidth - 4, kClientHeight - 4);

    GroupBox1 = new QGroupBox(QStringLiteral("Путь файла для внешнего ввода-вывода:"), this);
    GroupBox1->setGeometry(8, 6, 289, 54);
    Edit1 = new QLineEdit(QStringLiteral("D:\\Txt.Dat"), GroupBox1);
    Edit1->setGeometry(8, 24, 273, 21);

    GroupBox2 = new QGroupBox(QStringLiteral("Считывание фразы из файла:"), this);
    GroupBox2->setGeometry(8, 64, 289, 76);
    RB1 = new QRadioButton(QStringLiteral("По нажатию клавиши [ENTER]"), GroupBox2);
    RB1->setGeometry(8, 22, 273, 20);
    RB1->setChecked(true);
    RB2 = new QRadioButton(QStringLiteral("По таймеру  каждые:"), GroupBox2);
    RB2->setGeometry(8, 47, 142, 20);
    SpinEdit1 = new QSpinBox(GroupBox2);
    SpinEdit1->setGeometry(152, 45, 80, 22);
    SpinEdit1->setRange(kMinPeriod, kMaxPeriod);
    SpinEdit1->setValue(1);
    SpinEdit1->setEnabled(false);
    Label1 = new QLabel(QStringLiteral("сек."), GroupBox2);
    Label1->setGeometry(238, 47, 40, 20);

    Button1 = new QPushButton(QStringLiteral("Хорошо"), this);
    Button1->setGeometry(60, 148, 85, 27);
    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    Button2->setGeometry(160, 148, 85, 27);
}

void TForm2::connectHandlers()
{
    auto guarded = [this](void (TForm2::*handler)()) {
        return [this, handler] { tarmel::runGuarded([this, handler] { (this->*handler)(); }); };
    };
    connect(Edit1, &QLineEdit::textChanged, this, guarded(&TForm2::Edit1Change));
    connect(SpinEdit1, &QSpinBox::textChanged, this, guarded(&TForm2::SpinEdit1Change));
    connect(RB1, &QRadioButton::clicked, this, guarded(&TForm2::RB1Click));
    connect(RB2, &QRadioButton::clicked, this, guarded(&TForm2::RB2Click));
    connect(Button1, &QPushButton::clicked, this, guarded(&TForm2::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guarded(&TForm2::Button2Click));
}

int TForm2::periodValue() const
{
    bool whole = false;
    const int value = SpinEdit1->cleanText().toInt(&whole);
    return whole ? std::clamp(value, kMinPeriod, kMaxPeriod) : kMinPeriod;
}

void TForm2::Edit1Change()
{
    if (Form1)
        Form1->N13->setChecked(false);
}

void TForm2::SpinEdit1Change()
{
    if (Form1)
        Form1->N13->setChecked(false);
}

void TForm2::RB1Click()
{
    SpinEdit1->setEnabled(false);
}

void TForm2::RB2Click()
{
    SpinEdit1->setEnabled(true);
}

void TForm2::Button1Click()
{
    // Written first: when Config.ini cannot be written the editor stays open
    // and can still be left with "Отмена".
    Form1->ConfigFile.writeAdres(tarmel::fromQt(Edit1->text()));
    // The entry is in seconds; the field keeps milliseconds from now on,
    // within its own bounds (so at most 36 s).
    SpinEdit1->setValue(std::min(periodValue() * 1000, kMaxPeriod));
    Form1->closeSecondary(this);
}

void TForm2::Button2Click()
{
    Form1->closeSecondary(this);
}

void TForm2::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (Form1)
        tarmel::runGuarded([this] { Button2Click(); });
}
