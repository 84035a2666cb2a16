#include "main_window.h"

#include "about_box.h"
#include "config_values.h"
#include "editor_window.h"
#include "phrase_base.h"
#include "text_codec.h"

#include <QApplication>
#include <QEvent>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QProxyStyle>
#include <QScreen>
#include <QSpinBox>
#include <QStyleFactory>
#include <QTextEdit>
#include <QToolButton>
#include <QToolTip>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kSkyBlue(0xA6, 0xCA, 0xF0);
const QString kInitialFontName = QStringLiteral("MS Sans Serif");
constexpr int kInitialFontSize = 8;
// Font sizes beyond this would make glyphs of gigabytes; larger settings are
// taken as this size.
constexpr int kLargestFontSize = 1638;

// Config.ini rows read at start.
enum Row {
    kRowWindowColour = 7,
    kRowTranscriptColour = 8,
    kRowInputColour = 9,
    kRowSpeakColour = 12,
    kRowCancelColour = 13,
    kRowEnRusColour = 14,
    kRowUserColour = 15,
    kRowCpuColour = 16,
    kRowInputTextColour = 17,
    kRowUserFontName = 19,
    kRowUserFontStyle = 20,
    kRowUserFontSize = 21,
    kRowCpuFontName = 23,
    kRowCpuFontStyle = 24,
    kRowCpuFontSize = 25,
    kRowInputFontName = 27,
    kRowInputFontStyle = 28,
};

// The frame the full-screen layout figures count in the window's outer size:
// a border across, and border, caption and menu down, as on the desktop the
// layout was designed on. Taking it as fixed keeps the layout filling the
// window whatever frame the window manager draws, or none.
constexpr int kLayoutFrameWidth = 2;
constexpr int kLayoutFrameHeight = 44;

// Hints come 1 ms after the pointer rests and stay until it leaves.
class HintStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

class HintKeeper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::Leave && widget == shownFor_) {
            QToolTip::hideText();
            shownFor_ = nullptr;
            return false;
        }
        if (event->type() != QEvent::ToolTip || widget->toolTip().isEmpty())
            return false;
        const auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), widget->toolTip(), widget, widget->rect(),
                           std::numeric_limits<int>::max());
        shownFor_ = widget;
        return true;
    }

private:
    QPointer<QWidget> shownFor_; // the widget whose hint is on screen
};

void setUpHints()
{
    if (!dynamic_cast<HintStyle*>(QApplication::style()))
        QApplication::setStyle(new HintStyle(QStyleFactory::create(QApplication::style()->name())));
    static HintKeeper* keeper = nullptr;
    if (!keeper) {
        keeper = new HintKeeper(qApp);
        qApp->installEventFilter(keeper);
    }
    QPalette hints = QToolTip::palette();
    hints.setColor(QPalette::ToolTipBase, kSkyBlue);
    hints.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(hints);
}

// A desktop colour named by its number, taken from the matching role of the
// desktop's palette; numbers the desktop does not know are black.
QColor desktopColour(int index)
{
    struct Named {
        int index;
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
    };
    static constexpr Named kRoles[] = {
        {0, QPalette::Active, QPalette::Button},           // scroll bar
        {1, QPalette::Active, QPalette::Dark},             // desktop
        {2, QPalette::Active, QPalette::Highlight},        // active caption
        {3, QPalette::Inactive, QPalette::Mid},            // inactive caption
        {4, QPalette::Active, QPalette::Window},           // menu
        {5, QPalette::Active, QPalette::Base},             // window
        {6, QPalette::Active, QPalette::Shadow},           // window frame
        {7, QPalette::Active, QPalette::WindowText},       // menu text
        {8, QPalette::Active, QPalette::Text},             // window text
        {9, QPalette::Active, QPalette::HighlightedText},  // caption text
        {10, QPalette::Active, QPalette::Window},          // active border
        {11, QPalette::Inactive, QPalette::Window},        // inactive border
        {12, QPalette::Active, QPalette::Dark},            // application workspace
        {13, QPalette::Active, QPalette::Highlight},       // highlight
        {14, QPalette::Active, QPalette::HighlightedText}, // highlighted text
        {15, QPalette::Active, QPalette::Button},          // button face
        {16, QPalette::Active, QPalette::Dark},            // button shadow
        {17, QPalette::Disabled, QPalette::Text},          // grey text
        {18, QPalette::Active, QPalette::ButtonText},      // button text
        {19, QPalette::Disabled, QPalette::WindowText},    // inactive caption text
        {20, QPalette::Active, QPalette::Light},           // button highlight
        {21, QPalette::Active, QPalette::Shadow},          // 3D dark shadow
        {22, QPalette::Active, QPalette::Midlight},        // 3D light
        {23, QPalette::Active, QPalette::ToolTipText},     // info text
        {24, QPalette::Active, QPalette::ToolTipBase},     // info background
        {26, QPalette::Active, QPalette::Link},            // hot-tracked item
        {27, QPalette::Active, QPalette::Highlight},       // active caption gradient
        {28, QPalette::Inactive, QPalette::Mid},           // inactive caption gradient
        {29, QPalette::Active, QPalette::Highlight},       // menu highlight
        {30, QPalette::Active, QPalette::Window},          // menu bar
    };
    const QPalette desktop = QApplication::palette();
    for (const Named& named : kRoles) {
        if (named.index == index)
            return desktop.color(named.group, named.role);
    }
    return Qt::black;
}

QColor toColour(const tarmel::config::Colour& colour)
{
    if (colour.system)
        return desktopColour(colour.systemIndex);
    return QColor(colour.red, colour.green, colour.blue);
}

QColor colourRow(const tarmel::ConfigFile& file, int row)
{
    return toColour(tarmel::config::colourRow(file, row));
}

void setStyle(QFont& font, const tarmel::config::FontStyle& style)
{
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(false);
    font.setStrikeOut(false);
}

void setStyleFromRow(QFont& font, const tarmel::ConfigFile& file, int row)
{
    // A text that names none of the four styles leaves the style as it was.
    if (const auto style = tarmel::config::styleRow(file, row))
        setStyle(font, *style);
}

// A positive size is in points, a negative one in pixels; 0 keeps the size.
void setSize(QFont& font, int size)
{
    if (size > 0)
        font.setPointSize(std::min(size, kLargestFontSize));
    else if (size < 0)
        font.setPixelSize(
            std::min(-static_cast<long long>(size), static_cast<long long>(kLargestFontSize)));
}

// Name, style and size of a text style from three rows.
void readFont(QFont& font, const tarmel::ConfigFile& file, int nameRow, int styleRow, int sizeRow)
{
    font.setFamily(tarmel::toQt(file.value(nameRow)));
    setStyleFromRow(font, file, styleRow);
    setSize(font, tarmel::config::integerRow(file, sizeRow));
}

void setPaletteColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// A caption colour, greyed for a disabled button, that still stands out from
// the background.
QColor greyedCaption(const QColor& caption, const QColor& background)
{
    auto mix = [](int a, int b) { return (a * 3 + b * 2) / 5; };
    const QColor greyed(mix(caption.red(), background.red()),
                        mix(caption.green(), background.green()),
                        mix(caption.blue(), background.blue()));
    constexpr int kLeastContrast = 90;
    if (std::abs(qGray(greyed.rgb()) - qGray(background.rgb())) >= kLeastContrast)
        return greyed;
    return qGray(background.rgb()) > 127 ? QColor(0x50, 0x50, 0x50) : QColor(0xB0, 0xB0, 0xB0);
}

void mergeIntoSelection(QTextEdit* transcript, const QTextCharFormat& format)
{
    QTextCursor selection = transcript->textCursor();
    if (selection.hasSelection())
        selection.mergeCharFormat(format);
}

// The style-picking commands: on confirm the picker keeps the new font and
// the selected transcript text takes its name; confirmed or not, the
// selection then takes the picker's size and style.
void pickTranscriptFont(QWidget* parent, tarmel::FontPicker& picker, QTextEdit* transcript)
{
    if (picker.execute(parent)) {
        QTextCharFormat name;
        name.setFontFamilies({picker.value.family()});
        mergeIntoSelection(transcript, name);
    }
    QTextCharFormat sizeAndStyle;
    if (picker.value.pixelSize() > 0)
        sizeAndStyle.setProperty(QTextFormat::FontPixelSize, picker.value.pixelSize());
    else
        sizeAndStyle.setFontPointSize(picker.value.pointSizeF());
    sizeAndStyle.setFontWeight(picker.value.bold() ? QFont::Bold : QFont::Normal);
    sizeAndStyle.setFontItalic(picker.value.italic());
    sizeAndStyle.setFontUnderline(picker.value.underline());
    sizeAndStyle.setFontStrikeOut(picker.value.strikeOut());
    mergeIntoSelection(transcript, sizeAndStyle);
}

void pickTranscriptColour(QWidget* parent, tarmel::ColorPicker& picker, QTextEdit* transcript)
{
    if (!picker.execute(parent))
        return;
    QTextCharFormat colour;
    colour.setForeground(picker.value);
    mergeIntoSelection(transcript, colour);
}

QFont initialFont()
{
    QFont font(kInitialFontName);
    font.setPointSize(kInitialFontSize);
    return font;
}

} // namespace

void TForm1::setWindowBackground(const QColor& colour)
{
    setPaletteColour(centralWidget(), QPalette::Window, colour);
    for (QToolButton* button : {Speak, Cancel, EnRus})
        setButtonCaptionColour(button,
                               button->palette().color(QPalette::Active, QPalette::ButtonText));
}

void TForm1::setButtonCaptionColour(QToolButton* button, const QColor& colour)
{
    const QColor background = centralWidget()->palette().color(QPalette::Window);
    const QColor greyed = greyedCaption(colour, background);
    QPalette palette = button->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::ButtonText, colour);
        palette.setColor(group, QPalette::WindowText, colour);
    }
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, greyed);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, greyed);
    // No etched shadow under a disabled caption: it would blur it.
    palette.setColor(QPalette::Disabled, QPalette::Light, Qt::transparent);
    button->setPalette(palette);
}

void TForm1::FormCreate()
{
    setUpHints();
    // Before anything is read, the buttons' captions are greyed readably.
    for (QToolButton* button : {Speak, Cancel, EnRus})
        setButtonCaptionColour(button, Qt::black);

    engine.LoadList(tarmel::files::kWords);
    ConfigFile.load();

    setWindowBackground(colourRow(ConfigFile, kRowWindowColour));
    setPaletteColour(RE1, QPalette::Base, colourRow(ConfigFile, kRowTranscriptColour));
    setPaletteColour(Input, QPalette::Base, colourRow(ConfigFile, kRowInputColour));
    setButtonCaptionColour(Speak, colourRow(ConfigFile, kRowSpeakColour));
    setButtonCaptionColour(Cancel, colourRow(ConfigFile, kRowCancelColour));
    setButtonCaptionColour(EnRus, colourRow(ConfigFile, kRowEnRusColour));
    ColorDialog2.value = colourRow(ConfigFile, kRowUserColour);
    ColorDialog3.value = colourRow(ConfigFile, kRowCpuColour);
    setPaletteColour(Input, QPalette::Text, colourRow(ConfigFile, kRowInputTextColour));

    readFont(FontDialog1.value, ConfigFile, kRowUserFontName, kRowUserFontStyle, kRowUserFontSize);
    readFont(FontDialog2.value, ConfigFile, kRowCpuFontName, kRowCpuFontStyle, kRowCpuFontSize);

    // Only the picker's preset: the input keeps its font until one is picked.
    FontDialog3.value.setFamily(tarmel::toQt(ConfigFile.value(kRowInputFontName)));
    setStyleFromRow(FontDialog3.value, ConfigFile, kRowInputFontStyle);

    installKeyHook();
}

// --- colour commands: each removes the restore mark first ---

void TForm1::N6Click()
{
    N13->setChecked(false);
    if (ColorDialog1.execute(this))
        setWindowBackground(ColorDialog1.value);
}

void TForm1::N21Click()
{
    N13->setChecked(false);
    if (ColorDialog1.execute(this))
        setPaletteColour(RE1, QPalette::Base, ColorDialog1.value);
}

void TForm1::N16Click()
{
    N13->setChecked(false);
    if (ColorDialog1.execute(this))
        setPaletteColour(Input, QPalette::Base, ColorDialog1.value);
}

void TForm1::N9Click()
{
    N13->setChecked(false);
    // Three picks in a row, each applied only when confirmed.
    for (QToolButton* button : {Speak, Cancel, EnRus}) {
        if (ColorDialog1.execute(this))
            setButtonCaptionColour(button, ColorDialog1.value);
    }
}

void TForm1::User1Click()
{
    N13->setChecked(false);
    pickTranscriptColour(this, ColorDialog2, RE1);
}

void TForm1::Cpu1Click()
{
    N13->setChecked(false);
    pickTranscriptColour(this, ColorDialog3, RE1);
}

void TForm1::Mystring2Click()
{
    N13->setChecked(false);
    if (ColorDialog1.execute(this))
        setPaletteColour(Input, QPalette::Text, ColorDialog1.value);
}

// --- font commands ---

void TForm1::User2Click()
{
    N13->setChecked(false);
    pickTranscriptFont(this, FontDialog1, RE1);
}

void TForm1::Cpu2Click()
{
    N13->setChecked(false);
    pickTranscriptFont(this, FontDialog2, RE1);
}

void TForm1::Mystring1Click()
{
    N13->setChecked(false);
    QFont font = Input->font();
    if (FontDialog3.execute(this))
        font.setFamily(FontDialog3.value.family());
    // The style follows the picker, confirmed or not; the size stays 8 pt.
    font.setBold(FontDialog3.value.bold());
    font.setItalic(FontDialog3.value.italic());
    font.setUnderline(FontDialog3.value.underline());
    font.setStrikeOut(FontDialog3.value.strikeOut());
    Input->setFont(font);
}

void TForm1::N13Click()
{
    N13->setChecked(true);
    setPaletteColour(centralWidget(), QPalette::Window, kSilver);
    setPaletteColour(RE1, QPalette::Base, kSilver);
    setPaletteColour(Input, QPalette::Base, kSilver);

    setPaletteColour(Input, QPalette::Text, Qt::black);
    QFont inputFont = Input->font();
    inputFont.setBold(true);
    Input->setFont(inputFont);

    for (QToolButton* button : {Speak, Cancel, EnRus})
        setButtonCaptionColour(button, Qt::black);

    for (tarmel::ColorPicker* picker : {&ColorDialog1, &ColorDialog2, &ColorDialog3})
        picker->value = Qt::black;
    FontDialog1.value = initialFont();
    FontDialog2.value = initialFont();
    FontDialog3.value.setFamily(kInitialFontName);
    FontDialog3.value.setPointSize(kInitialFontSize);

    // The editor's fields: their own change handlers remove the mark again
    // when this changes them.
    if (Form2) {
        Form2->Edit1->setText(QStringLiteral("D:\\Txt.Dat"));
        Form2->SpinEdit1->setValue(1000);
    }
    if (Form3)
        Form3->setOuterHeight(TForm3::kCollapsedHeight);
}

// --- full screen ---

void TForm1::N40Click()
{
    if (!normalPlace_) {
        normalPlace_ = geometry();
        QRect area = screen()->availableGeometry();
        const QRect frame = frameGeometry();
        const QRect inner = geometry();
        area.adjust(inner.left() - frame.left(), inner.top() - frame.top(),
                    inner.right() - frame.right(), inner.bottom() - frame.bottom());
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        setWindowState(windowState() | Qt::WindowMaximized);
        // Without a window manager nobody maximises the window: take the
        // work area ourselves (with one it is the size it maximises to).
        setGeometry(area);
        N40->setChecked(true);
        N40->setText(QStringLiteral("Normal"));

        const int clientWidth = area.width();
        const int clientHeight = area.height() - menuBar()->sizeHint().height();
        const int W = clientWidth + kLayoutFrameWidth;
        const int H = clientHeight + kLayoutFrameHeight;
        TabControl1->resize(W - 4, H - 92);
        RE1->resize(W - 11, H - 101);
        TabControl2->setGeometry(TabControl2->x(), H - 93, W - 5, TabControl2->height());
        Speak->move(W - 93, Speak->y());
        EnRus->move(W - 136, EnRus->y());
        Cancel->move(W - 163, Cancel->y());
        Input->resize(W - 167, Input->height());
        return;
    }

    const QRect place = *normalPlace_;
    normalPlace_.reset();
    N40->setChecked(false);
    N40->setText(QStringLiteral("Full Screen"));
    setWindowState(windowState() & ~Qt::WindowMaximized);
    setFixedSize(place.size());
    setGeometry(place);

    TabControl1->resize(588, 313);
    RE1->resize(581, 305);
    TabControl2->setGeometry(TabControl2->x(), 312, 585, TabControl2->height());
    Speak->move(496, Speak->y());
    EnRus->move(453, EnRus->y());
    Cancel->move(426, Cancel->y());
    Input->resize(422, Input->height());
}
