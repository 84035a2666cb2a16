#include "about_box.h"

#include "errors.h"
#include "line_file.h"
#include "main_window.h"
#include "message_box.h"
#include "paths.h"
#include "text_codec.h"

#include <QFrame>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace {

const QColor kSilver(0xC0, 0xC0, 0xC0);
constexpr int kWidth = 377;
// The title bar and border that the outer heights include.
constexpr int kTitleHeight = 27;
constexpr std::string_view kPhoto = "Images\\Foto.bmp";
constexpr std::string_view kHistory = "ReadMe.Txt";

QFont fontOf(const QString& name, bool boldItalic = false)
{
    QFont font(name);
    font.setPointSize(8);
    font.setBold(boldItalic);
    font.setItalic(boldItalic);
    return font;
}

QFrame* makeFrame(QWidget* parent, const QRect& place, int style)
{
    auto* frame = new QFrame(parent);
    frame->setFrameStyle(style);
    frame->setGeometry(place);
    return frame;
}

QPushButton* makeButton(QWidget* parent, const QString& caption, const QRect& place)
{
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(place);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

} // namespace

TForm3::TForm3() : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("О программе"));
    setObjectName(QStringLiteral("Form3"));
    setCursor(Qt::ArrowCursor);
    setAutoFillBackground(true);
    QPalette silver = palette();
    silver.setColor(QPalette::Window, kSilver);
    silver.setColor(QPalette::Base, kSilver);
    silver.setColor(QPalette::Button, kSilver);
    setPalette(silver);

    TabControl1 = makeFrame(this, QRect(0, 0, 377, 153), QFrame::Panel | QFrame::Raised);
    Bevel1 = makeFrame(TabControl1, QRect(3, 5, 371, 146), QFrame::Box | QFrame::Sunken);

    Label2 = new QLabel(QStringLiteral("АВТОР ПРОДУКТА:"), TabControl1);
    Label2->setFont(fontOf(QStringLiteral("Courier New"), true));
    Label2->move(44, 8);
    Label2->adjustSize();

    Inform = new QLabel(TabControl1);
    Inform->setGeometry(6, 24, 179, 108);
    Inform->setScaledContents(true);
    Inform->setToolTip(QStringLiteral("Здесь мне 5 лет."));

    Label3 = new QLabel(QStringLiteral("E-mail: noravin@tarmel.example"), TabControl1);
    Label3->move(22, 133);
    Label3->adjustSize();

    Label1 = new QLabel(QStringLiteral("Разработчик: Норавин\n\n04.2004г. - 03.2005г.\n\n"
                                       "ВЕРСИЯ: 2.526"),
                        TabControl1);
    Label1->setGeometry(187, 9, 182, 82);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    Label1->setFont(fontOf(QStringLiteral("Comic Sans MS")));
    QPalette label = Label1->palette();
    label.setColor(QPalette::WindowText, Qt::black);
    Label1->setPalette(label);

    Button1 = makeButton(TabControl1, QStringLiteral("История"), QRect(187, 96, 185, 25));
    Button2 = makeButton(TabControl1, QStringLiteral("Закрыть"), QRect(187, 120, 185, 25));

    TabControl2 = makeFrame(this, QRect(1, 151, 376, 148), QFrame::Panel | QFrame::Raised);
    Memo1 = new QPlainTextEdit(TabControl2);
    Memo1->setGeometry(3, 4, 370, 140);
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setFont(fontOf(QStringLiteral("Courier New")));
    Memo1->viewport()->setCursor(Qt::ForbiddenCursor);

    connect(Button1, &QPushButton::clicked, this,
            [this] { tarmel::runGuarded([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this,
            [this] { tarmel::runGuarded([this] { Button2Click(); }); });

    setOuterHeight(kCollapsedHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    tarmel::runGuarded([this] { FormCreate(); });
}

void TForm3::setOuterHeight(int height)
{
    outerHeight_ = height;
    setFixedSize(kWidth, std::max(1, height - kTitleHeight));
}

void TForm3::FormCreate()
{
    const std::filesystem::path path = tarmel::resolvePath(kPhoto);
    QImage photo;
    if (!photo.load(QString::fromStdString(path.string())))
        throw tarmel::Error("Не удалось открыть рисунок «" + std::string(kPhoto) + "»");
    Inform->setPixmap(QPixmap::fromImage(photo));
}

void TForm3::Button1Click()
{
    const tarmel::Lines lines =
        tarmel::parsePlainLines(tarmel::readFileBytes(tarmel::resolvePath(kHistory), kHistory));
    QStringList text;
    for (const std::string& line : lines)
        text << tarmel::toQt(line);
    Memo1->setPlainText(text.join(QLatin1Char('\n')));

    int height = outerHeight_ + 1;
    if (height == kCollapsedHeight + 1)
        height = kExpandedHeight;
    if (height == kExpandedHeight + 1)
        height = kCollapsedHeight;
    setOuterHeight(height);
}

void TForm3::Button2Click()
{
    if (Form1)
        Form1->closeSecondary(this);
    else
        hide();
}
