#include "window_rig.h"

#include "message_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextEdit>

namespace tarmel::test {

namespace {

// A 2 x 2 picture in the BMP format, for the about box's photo.
std::string tinyBitmap()
{
    std::string bmp = "BM";
    auto put32 = [&bmp](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bmp += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    const std::uint32_t headers = 14 + 40;
    const std::uint32_t pixels = 2 * 8; // two rows of 2 x 3 bytes, padded to 8
    put32(headers + pixels);
    put32(0);
    put32(headers);
    put32(40);
    put32(2);
    put32(2);
    bmp += std::string("\x01\x00\x18\x00", 4); // one plane, 24 bits a pixel
    put32(0);
    put32(pixels);
    for (int i = 0; i < 4; ++i)
        put32(0);
    bmp += std::string(pixels, '\x7F');
    return bmp;
}

} // namespace

void useOffscreenPlatformByDefault()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("TARMEL_NO_SOUND"))
        qputenv("TARMEL_NO_SOUND", "1");
}

void writeProgramFiles(const TempFolder& folder)
{
    // A silent wave file is enough for the players.
    std::string wav = "RIFF";
    auto put32 = [&wav](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            wav += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    auto put16 = [&wav](std::uint16_t v) {
        wav += static_cast<char>(v & 0xFF);
        wav += static_cast<char>(v >> 8);
    };
    put32(36 + 2);
    wav += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(1);
    put32(8000);
    put32(16000);
    put16(2);
    put16(16);
    wav += "data";
    put32(2);
    put16(0);
    for (const char* name : {"KeyBoard", "Button3", "Button2", "Button1", "CpuSound", "Close"})
        folder.write(std::string("Sound/") + name + ".wav", wav);

    folder.write("Images/Foto.bmp", tinyBitmap());

    std::vector<std::string> config;
    for (int row = 1; row <= 30; ++row)
        config.push_back("Row" + std::to_string(row) + "=0");
    config[2] = "Shake=NO";
    config.push_back("Adres=D:\\Txt.Dat");
    folder.writeLines("Config.ini", config);
}

ProgramStart::ProgramStart(const std::function<void()>& prepare)
{
    writeProgramFiles(folder);
    if (prepare)
        prepare();
    MessageBox::setRecorder([this](const QString& text) { messages << text; });
    windows = createWindows(random, clock);
    MessageBox::setRecorder({});
}

WindowRig::WindowRig()
{
    writeProgramFiles(folder);
    MessageBox::setRecorder([this](const QString& text) { messages << text; });
    windows = createWindows(random, clock);
    if (windows.Form1)
        windows.Form1->show();
}

WindowRig::~WindowRig()
{
    MessageBox::setRecorder({});
}

void WindowRig::type(const QString& text)
{
    QWidget* target = form().Input;
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

void WindowRig::pressEnter()
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(form().Input, &press);
}

QStringList WindowRig::transcript() const
{
    QStringList lines;
    const QTextDocument* document = windows.Form1->RE1->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (!block.text().isEmpty() || block.next().isValid())
            lines << block.text();
    }
    return lines;
}

} // namespace tarmel::test
