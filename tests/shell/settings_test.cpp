#include "about_box.h"
#include "editor_window.h"
#include "window_rig.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QSpinBox>
#include <QStyle>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>
#include <QToolTip>

using tarmel::ColorPicker;
using tarmel::FontPicker;
using tarmel::test::WindowRig;

namespace {

// The program started with its own Config.ini (UTF-8 lines).
struct Start : tarmel::test::ProgramStart {
    explicit Start(const std::vector<std::string>& config,
                   const std::function<void()>& prepare = {})
        : ProgramStart([this, &config, &prepare] {
              folder.writeLines("Config.ini", config);
              if (prepare)
                  prepare();
          })
    {
    }
};

// A Config.ini of 31 rows with every read row set apart from the others.
std::vector<std::string> distinctiveConfig()
{
    std::vector<std::string> rows(31);
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = "Row" + std::to_string(i + 1) + "=";
    rows[2] = "Shake=NO";
    rows[6] = "ColorForm=  $0000FF";    // red
    rows[7] = "ColorLog=$80000005";     // the desktop's window colour
    rows[8] = "ColorInput=-16777201";   // the desktop's button face
    rows[11] = "ColorSpeak=+32768";     // green
    rows[12] = "ColorCancel=16711680";  // blue
    rows[13] = "ColorEnRus=-231";       // desktop colour 25: none, black
    rows[14] = "ColorUser=65535";       // yellow
    rows[15] = "ColorCpu=$FF00FF";      // magenta
    rows[16] = "ColorMyString=8421504"; // grey
    rows[18] = "UserFontName=Courier New";
    rows[19] = "UserFontStyle=[FSBOLD,fsitalic]";
    rows[20] = "UserFontSize=14";
    rows[22] = "CpuFontName=Comic Sans MS";
    rows[23] = "CpuFontStyle=[fsItalic,fsBold]"; // no such style: stays regular
    rows[24] = "CpuFontSize= 11";
    rows[26] = "MyStringFontName=Courier New";
    rows[27] = "MyStringFontStyle=[fsItalic]";
    rows[30] = "Adres=D:\\Txt.Dat";
    return rows;
}

QColor windowColour(TForm1& form)
{
    return form.centralWidget()->palette().color(QPalette::Window);
}

QColor captionColour(QToolButton* button, QPalette::ColorGroup group = QPalette::Active)
{
    return button->palette().color(group, QPalette::ButtonText);
}

void selectTranscriptLine(TForm1& form, int line)
{
    QTextCursor cursor(form.RE1->document()->findBlockByNumber(line));
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    form.RE1->setTextCursor(cursor);
}

QTextCharFormat formatOfLine(TForm1& form, int line)
{
    QTextCursor cursor(form.RE1->document()->findBlockByNumber(line));
    cursor.movePosition(QTextCursor::NextCharacter);
    return cursor.charFormat();
}

void say(WindowRig& rig, const QString& phrase)
{
    rig.type(phrase);
    rig.tick();
    rig.pressEnter();
}

} // namespace

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void configRowsGiveTheWindowItsLook();
    void aBadStepStopsTheStartWithOneMessage();
    void disabledCaptionsStayReadable();
    void colourCommandsApplyOnlyConfirmedPicks();
    void buttonColoursTakeThreePicksWhateverTheFirstAnswer();
    void styleColourAndFontRestyleTheSelection();
    void inputFontTakesNameAndStyleButStaysEightPoint();
    void restoreBringsBackTheInitialLook();
    void fullScreenAndBack();
};

void SettingsTest::configRowsGiveTheWindowItsLook()
{
    Start start(distinctiveConfig());
    QVERIFY2(start.messages.isEmpty(), qPrintable(start.messages.join('\n')));
    TForm1& form = start.form();
    QVERIFY(form.KeyHook); // the last step of the start
    // Hints: sky blue, 1 ms after the pointer rests.
    QCOMPARE(QToolTip::palette().color(QPalette::ToolTipBase), QColor(0xA6, 0xCA, 0xF0));
    QCOMPARE(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 1);
    const QPalette desktop = QApplication::palette();

    QCOMPARE(windowColour(form), QColor(Qt::red));
    QCOMPARE(form.RE1->palette().color(QPalette::Base), desktop.color(QPalette::Base));
    QCOMPARE(form.Input->palette().color(QPalette::Base), desktop.color(QPalette::Button));
    QCOMPARE(captionColour(form.Speak), QColor(0, 128, 0));
    QCOMPARE(captionColour(form.Cancel), QColor(Qt::blue));
    QCOMPARE(captionColour(form.EnRus), QColor(Qt::black));
    QCOMPARE(form.ColorDialog2.value, QColor(Qt::yellow));
    QCOMPARE(form.ColorDialog3.value, QColor(Qt::magenta));
    QCOMPARE(form.Input->palette().color(QPalette::Text), QColor(128, 128, 128));

    struct Font {
        const QFont& font;
        QString family;
        bool bold;
        bool italic;
        int size;
    };
    const Font fonts[] = {
        {form.FontDialog1.value, QStringLiteral("Courier New"), true, true, 14},
        {form.FontDialog2.value, QStringLiteral("Comic Sans MS"), false, false, 11},
        {form.FontDialog3.value, QStringLiteral("Courier New"), false, true, 8},
    };
    for (const auto& f : fonts) {
        QCOMPARE(f.font.family(), f.family);
        QCOMPARE(f.font.bold(), f.bold);
        QCOMPARE(f.font.italic(), f.italic);
        QCOMPARE(f.font.pointSize(), f.size);
    }
    // Rows 27 and 28 only preset the picker: the input keeps its own font.
    QVERIFY(form.Input->font().family() != QStringLiteral("Courier New"));
    QVERIFY(!form.Input->font().italic());

    // The transcript writes in the two styles.
    start.form().show();
    form.Input->setText(QStringLiteral("привет"));
    form.SpeakClick();
    const QTextCharFormat user = formatOfLine(form, 0);
    QCOMPARE(user.foreground().color(), QColor(Qt::yellow));
    QCOMPARE(user.font().family(), QStringLiteral("Courier New"));
    QVERIFY(user.font().bold() && user.font().italic());
    QCOMPARE(formatOfLine(form, 1).foreground().color(), QColor(Qt::magenta));
}

void SettingsTest::aBadStepStopsTheStartWithOneMessage()
{
    struct Case {
        const char* name;
        std::function<void(std::vector<std::string>&)> breakConfig;
        const char* missingFile; // removed before the start, or null
        QString messagePart;     // the report names this
        bool speakColoured;      // row 12 was applied
        bool cancelColoured;     // row 13 was applied
        bool userFontNamed;      // row 19 was applied
    };
    const Case cases[] = {
        {"number followed by a blank", [](auto& rows) { rows[12] = "ColorCancel=128 "; }, nullptr,
         QStringLiteral("«128 »"), true, false, false},
        {"two equals signs", [](auto& rows) { rows[20] = "UserFontSize=1=2"; }, nullptr,
         QStringLiteral("строка 21"), true, true, true},
        {"hex digits without $", [](auto& rows) { rows[11] = "ColorSpeak=FF"; }, nullptr,
         QStringLiteral("строка 12"), false, false, false},
        {"file of ten lines", [](auto& rows) { rows.resize(10); }, nullptr,
         QStringLiteral("строки 12"), false, false, false},
        {"empty file", [](auto& rows) { rows.clear(); }, nullptr, QStringLiteral("строка 7"), false,
         false, false},
        {"no Config.ini", [](auto&) {}, "Config.ini", QStringLiteral("Config.ini"), false, false,
         false},
        {"no main table", [](auto&) {}, "Base/Words.Dat", QStringLiteral("Words.Dat"), false, false,
         false},
    };
    for (const auto& c : cases) {
        std::vector<std::string> rows = distinctiveConfig();
        c.breakConfig(rows);
        Start start(rows, [&c] {
            if (c.missingFile)
                std::filesystem::remove(c.missingFile);
        });
        QVERIFY2(start.windows.Form1 && start.windows.Form4, c.name);
        QVERIFY2(start.messages.size() == 1, qPrintable(start.messages.join('\n')));
        QVERIFY2(start.messages[0].contains(c.messagePart), qPrintable(start.messages[0]));
        TForm1& form = start.form();
        QCOMPARE(captionColour(form.Speak) == QColor(0, 128, 0), c.speakColoured);
        QCOMPARE(captionColour(form.Cancel) == QColor(Qt::blue), c.cancelColoured);
        QCOMPARE(form.FontDialog1.value.family() == QStringLiteral("Courier New"), c.userFontNamed);
        // Nothing after the failing step: neither the input font preset nor
        // the key hook.
        QVERIFY(form.FontDialog3.value.family() != QStringLiteral("Courier New"));
        QVERIFY2(!form.KeyHook, c.name);
    }
    // Without Words.Dat the settings file is never read: row 3 reads empty.
    Start noTable(distinctiveConfig(), [] { std::filesystem::remove("Base/Words.Dat"); });
    QVERIFY(noTable.form().ConfigFile.lines().empty());
}

void SettingsTest::disabledCaptionsStayReadable()
{
    // Silver background, black captions: the greyed caption must still stand
    // out; so must a light caption on a light background.
    struct Case {
        QColor background;
        QColor caption;
    };
    const Case cases[] = {
        {QColor(0xC0, 0xC0, 0xC0), Qt::black},
        {QColor(0xC0, 0xC0, 0xC0), QColor(0xC0, 0xC0, 0xC0)},
        {Qt::black, Qt::black},
        {Qt::white, QColor(0, 0, 128)},
    };
    WindowRig rig;
    TForm1& form = rig.form();
    for (const auto& c : cases) {
        form.setWindowBackground(c.background);
        form.setButtonCaptionColour(form.Speak, c.caption);
        QVERIFY(!form.Speak->isEnabled());
        const QColor greyed = captionColour(form.Speak, QPalette::Disabled);
        QVERIFY2(std::abs(qGray(greyed.rgb()) - qGray(c.background.rgb())) >= 60,
                 qPrintable(greyed.name() + " on " + c.background.name()));
        QCOMPARE(captionColour(form.Speak, QPalette::Active), c.caption);
    }
}

void SettingsTest::colourCommandsApplyOnlyConfirmedPicks()
{
    struct Case {
        const char* name;
        void (TForm1::*command)();
        std::function<QColor(TForm1&)> target;
    };
    const Case cases[] = {
        {"N6", &TForm1::N6Click, windowColour},
        {"N21", &TForm1::N21Click,
         [](TForm1& f) { return f.RE1->palette().color(QPalette::Base); }},
        {"N16", &TForm1::N16Click,
         [](TForm1& f) { return f.Input->palette().color(QPalette::Base); }},
        {"Mystring2", &TForm1::Mystring2Click,
         [](TForm1& f) { return f.Input->palette().color(QPalette::Text); }},
    };
    for (const auto& c : cases) {
        WindowRig rig;
        TForm1& form = rig.form();
        const QColor before = c.target(form);
        ColorPicker::answerNext(std::nullopt);
        (form.*c.command)();
        QVERIFY2(!form.N13->isChecked(), c.name);
        QCOMPARE(c.target(form), before);

        form.N13->setChecked(true);
        ColorPicker::answerNext(QColor(0x12, 0x34, 0x56));
        (form.*c.command)();
        QVERIFY2(!form.N13->isChecked(), c.name);
        QCOMPARE(c.target(form), QColor(0x12, 0x34, 0x56));
        QCOMPARE(form.ColorDialog1.value, QColor(0x12, 0x34, 0x56));
    }
}

void SettingsTest::buttonColoursTakeThreePicksWhateverTheFirstAnswer()
{
    WindowRig rig;
    TForm1& form = rig.form();
    const QColor speakBefore = captionColour(form.Speak);
    ColorPicker::answerNext(std::nullopt);
    ColorPicker::answerNext(QColor(Qt::red));
    ColorPicker::answerNext(QColor(Qt::blue));
    form.N9Click();
    QCOMPARE(captionColour(form.Speak), speakBefore);
    QCOMPARE(captionColour(form.Cancel), QColor(Qt::red));
    QCOMPARE(captionColour(form.EnRus), QColor(Qt::blue));
    QVERIFY(!form.N13->isChecked());
}

void SettingsTest::styleColourAndFontRestyleTheSelection()
{
    WindowRig rig;
    TForm1& form = rig.form();
    say(rig, QStringLiteral("привет"));
    QCOMPARE(rig.transcript().size(), 2);

    // Colour: the selection and the later lines, not the other lines.
    selectTranscriptLine(form, 0);
    ColorPicker::answerNext(QColor(Qt::red));
    form.User1Click();
    QCOMPARE(formatOfLine(form, 0).foreground().color(), QColor(Qt::red));
    QVERIFY(formatOfLine(form, 1).foreground().color() != QColor(Qt::red));
    ColorPicker::answerNext(std::nullopt);
    form.Cpu1Click();
    QVERIFY(form.ColorDialog3.value != QColor(Qt::red));

    // Font confirmed: name, size and style on the selection and the style.
    QFont courier(QStringLiteral("Courier New"));
    courier.setPointSize(14);
    courier.setBold(true);
    selectTranscriptLine(form, 1);
    FontPicker::answerNext(courier);
    form.Cpu2Click();
    QTextCharFormat reply = formatOfLine(form, 1);
    QCOMPARE(reply.font().family(), QStringLiteral("Courier New"));
    QCOMPARE(reply.font().pointSize(), 14);
    QVERIFY(reply.font().bold());
    QCOMPARE(form.FontDialog2.value.family(), QStringLiteral("Courier New"));

    // Cancelled: the name stays, but the selection takes the picker's size
    // and style all the same.
    QTextCharFormat big;
    big.setFontPointSize(30);
    big.setFontItalic(true);
    big.setFontFamilies({QStringLiteral("DejaVu Serif")});
    form.RE1->textCursor().mergeCharFormat(big);
    FontPicker::answerNext(std::nullopt);
    form.Cpu2Click();
    reply = formatOfLine(form, 1);
    QCOMPARE(reply.font().family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(reply.font().pointSize(), 14);
    QVERIFY(reply.font().bold() && !reply.font().italic());
    QVERIFY(!form.N13->isChecked());

    // With nothing selected no line changes.
    QTextCursor none = form.RE1->textCursor();
    none.clearSelection();
    form.RE1->setTextCursor(none);
    const QTextCharFormat userBefore = formatOfLine(form, 0);
    FontPicker::answerNext(courier);
    form.User2Click();
    QCOMPARE(formatOfLine(form, 0), userBefore);
    QCOMPARE(form.FontDialog1.value.family(), QStringLiteral("Courier New"));
}

void SettingsTest::inputFontTakesNameAndStyleButStaysEightPoint()
{
    WindowRig rig;
    TForm1& form = rig.form();
    QFont courier(QStringLiteral("Courier New"));
    courier.setPointSize(14);
    courier.setBold(true);
    FontPicker::answerNext(courier);
    form.Mystring1Click();
    QCOMPARE(form.Input->font().family(), QStringLiteral("Courier New"));
    QVERIFY(form.Input->font().bold());
    QCOMPARE(form.Input->font().pointSize(), 8);
    QCOMPARE(form.FontDialog3.value.pointSize(), 8);

    // Cancelled: the name stays, the style follows the picker's preset.
    form.FontDialog3.value = QFont(QStringLiteral("DejaVu Sans"), 8, QFont::Normal, true);
    FontPicker::answerNext(std::nullopt);
    form.Mystring1Click();
    QCOMPARE(form.Input->font().family(), QStringLiteral("Courier New"));
    QVERIFY(!form.Input->font().bold() && form.Input->font().italic());
}

void SettingsTest::restoreBringsBackTheInitialLook()
{
    Start start(distinctiveConfig());
    TForm1& form = start.form();
    form.show();
    form.Input->setText(QStringLiteral("привет"));
    form.SpeakClick();
    const QTextCharFormat userLine = formatOfLine(form, 0);
    start.windows.Form3->setOuterHeight(TForm3::kExpandedHeight);
    // The editor already shows what the restore puts there, so its fields
    // do not change and the mark stays.
    start.windows.Form2->SpinEdit1->setValue(1000);
    form.N13->setChecked(false);

    form.N13Click();
    QVERIFY(form.N13->isChecked());
    const QColor silver(0xC0, 0xC0, 0xC0);
    QCOMPARE(windowColour(form), silver);
    QCOMPARE(form.RE1->palette().color(QPalette::Base), silver);
    QCOMPARE(form.Input->palette().color(QPalette::Base), silver);
    QCOMPARE(form.Input->palette().color(QPalette::Text), QColor(Qt::black));
    QVERIFY(form.Input->font().bold());
    QCOMPARE(form.Input->font().pointSize(), 8);
    for (QToolButton* button : {form.Speak, form.Cancel, form.EnRus})
        QCOMPARE(captionColour(button), QColor(Qt::black));
    for (const ColorPicker* picker : {&form.ColorDialog1, &form.ColorDialog2, &form.ColorDialog3})
        QCOMPARE(picker->value, QColor(Qt::black));
    for (const FontPicker* picker : {&form.FontDialog1, &form.FontDialog2}) {
        QCOMPARE(picker->value.family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(picker->value.pointSize(), 8);
        QVERIFY(!picker->value.bold() && !picker->value.italic());
    }
    QCOMPARE(form.FontDialog3.value.family(), QStringLiteral("MS Sans Serif"));
    QVERIFY(form.FontDialog3.value.italic()); // its style is not touched
    QCOMPARE(start.windows.Form2->Edit1->text(), QStringLiteral("D:\\Txt.Dat"));
    QCOMPARE(start.windows.Form2->SpinEdit1->value(), 1000);
    QCOMPARE(start.windows.Form3->outerHeight(), TForm3::kCollapsedHeight);
    // Lines already written keep their look.
    QCOMPARE(formatOfLine(form, 0), userLine);
}

void SettingsTest::fullScreenAndBack()
{
    WindowRig rig;
    TForm1& form = rig.form();
    const QRect normal = form.geometry();
    const QRect area = form.screen()->availableGeometry();
    const int menu = form.menuBar()->sizeHint().height();

    // Through the menu, as the user does: the action's own check toggling
    // must not confuse the handler.
    form.N40->trigger();
    QVERIFY(form.N40->isChecked());
    QCOMPARE(form.N40->text(), QStringLiteral("Normal"));
    QCOMPARE(form.frameGeometry(), area);
    // The outer size as the layout counts it: the client area and a frame
    // of 2 x 44 pixels.
    const int W = form.width() + 2;
    const int H = form.height() - menu + 44;
    struct Size {
        const char* what;
        int actual;
        int expected;
    };
    const Size full[] = {
        {"TabControl1 width", form.TabControl1->width(), W - 4},
        {"TabControl1 height", form.TabControl1->height(), H - 92},
        {"RE1 width", form.RE1->width(), W - 11},
        {"RE1 height", form.RE1->height(), H - 101},
        {"TabControl2 width", form.TabControl2->width(), W - 5},
        {"TabControl2 top", form.TabControl2->y(), H - 93},
        {"Speak left", form.Speak->x(), W - 93},
        {"EnRus left", form.EnRus->x(), W - 136},
        {"Cancel left", form.Cancel->x(), W - 163},
        {"Input width", form.Input->width(), W - 167},
    };
    for (const auto& s : full)
        QVERIFY2(s.actual == s.expected, s.what);
    // The input row ends where the status bar begins.
    QCOMPARE(form.TabControl2->geometry().bottom() + 1, form.centralWidget()->height());

    form.N40->trigger();
    QVERIFY(!form.N40->isChecked());
    QCOMPARE(form.N40->text(), QStringLiteral("Full Screen"));
    QCOMPARE(form.geometry(), normal);
    QCOMPARE(form.minimumSize(), form.maximumSize());
    const Size back[] = {
        {"TabControl1 width", form.TabControl1->width(), 588},
        {"TabControl1 height", form.TabControl1->height(), 313},
        {"RE1 width", form.RE1->width(), 581},
        {"RE1 height", form.RE1->height(), 305},
        {"TabControl2 width", form.TabControl2->width(), 585},
        {"TabControl2 top", form.TabControl2->y(), 312},
        {"Speak left", form.Speak->x(), 496},
        {"EnRus left", form.EnRus->x(), 453},
        {"Cancel left", form.Cancel->x(), 426},
        {"Input width", form.Input->width(), 422},
    };
    for (const auto& s : back)
        QVERIFY2(s.actual == s.expected, s.what);
}

int main(int argc, char** argv)
{
    tarmel::test::useOffscreenPlatformByDefault();
    QApplication application(argc, argv);
    tarmel::prepareApplication();
    SettingsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "settings_test.moc"
