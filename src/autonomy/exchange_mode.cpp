// Cpu\Cpu mode: the bot's counterpart is the exchange file. A tick of T6
// reads the file; in Enter mode Enter then answers its first line, in timer
// mode the tick itself runs the turn. The turn writes its reply back into the
// file, replacing it atomically, so another program (or a second copy of this
// one) reading the same file never sees half a reply.

#include "main_window.h"

#include "editor_window.h"
#include "errors.h"
#include "message_box.h"
#include "paths.h"
#include "text_codec.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>

namespace {

const QColor kServiceColour(0, 128, 128); // teal

// A phrase that is the head of an RTF document: the file was cut short while
// being written (by a program that does not replace it atomically).
bool isCutRtf(const std::string& firstLine)
{
    return firstLine.rfind("{\\rtf", 0) == 0;
}

} // namespace

void TForm1::CpuUser1Click()
{
    Input->clear();
    startControlTick();
    const QFont font = RE1->currentFont();
    SB1Panel[2]->setText(QStringLiteral("Режим Cpu\\User"));
    appendTranscript(QStringLiteral("Сервис:   // Режим диалога Cpu\\User."), kServiceColour, font);
    appendTranscript(QString(), kServiceColour, font);
    CpuUser1->setChecked(true);
    Cpu31->setChecked(false);
    T6->stop();
}

void TForm1::Cpu31Click()
{
    T1->stop();
    const QFont font = RE1->currentFont();
    SB1Panel[2]->setText(QStringLiteral("Режим Cpu\\Cpu"));
    appendTranscript(QStringLiteral("Сервис:   // Режим диалога Cpu\\Cpu."), kServiceColour, font);
    CpuUser1->setChecked(false);
    Cpu31->setChecked(true);
    T6->start();
}

void TForm1::N38Click()
{
    // Read first: a Config.ini too short for the row fails before anything changes.
    const std::string path = ConfigFile.value(31);
    Form2->Edit1->setText(tarmel::toQt(path));
    Form2->SpinEdit1->setValue(1);
    openSecondary(Form2);
}

void TForm1::T6Timer()
{
    if (!readExchangeFile())
        return;
    if (Form2->RB1->isChecked()) {
        Talk->setEnabled(true);
        return;
    }
    if (Form2->RB2->isChecked()) {
        // The field holds milliseconds; periods below the timers' fastest
        // pace run at that pace.
        const int period = std::max(Form2->periodValue(), kFastTickMs);
        if (T6->interval() != period)
            T6->setInterval(period);
        Talk->setEnabled(false);
        runExchangeTurn();
        return;
    }
    Talk->setEnabled(true);
}

bool TForm1::readExchangeFile()
{
    const std::string name = exchangePath();
    std::string failure;
    try {
        engine.files.load(engine.LoadtxtCpuCpu, name);
        if (isCutRtf(engine.LoadtxtCpuCpu.line(0)))
            failure = "Файл «" + name + "» оборван: в нём неполный документ RTF";
    } catch (const tarmel::Error& e) {
        failure = e.what();
    }
    if (failure.empty()) {
        ExchangeReadFailed = false;
        return true;
    }
    // Nothing stale or broken is left for Enter to answer.
    engine.LoadtxtCpuCpu.clear();
    if (!ExchangeReadFailed) {
        // Marked before the box opens: the timer keeps ticking behind it.
        ExchangeReadFailed = true;
        tarmel::MessageBox::showError(
            QString::fromUtf8("Режим Cpu\\Cpu: %1 (файл обмена: %2).\nЧтение файла продолжается.")
                .arg(QString::fromUtf8(failure),
                     QString::fromStdString(tarmel::resolvePath(name).string())));
    }
    return false;
}

void TForm1::runExchangeTurn()
{
    const bool hasPhrase = !engine.LoadtxtCpuCpu.line(0).empty();
    try {
        // The turn itself, not a click on Speak: a disabled button ignores
        // clicks, and Speak keeps whatever state it had when T1 stopped.
        SpeakClick();
    } catch (const tarmel::Error& e) {
        // A turn that fails at every tick (a base file gone, a folder that
        // cannot be written) is reported once, not once per period.
        if (!ExchangeTurnFailed) {
            ExchangeTurnFailed = true;
            tarmel::MessageBox::showError(QString::fromUtf8(e.what()));
        }
        return;
    }
    if (hasPhrase)
        ExchangeTurnFailed = false;
}
