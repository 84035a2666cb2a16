#include "message_box.h"

#include "errors.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

namespace tarmel {
namespace {

MessageBox::Recorder& recorder()
{
    static MessageBox::Recorder instance;
    return instance;
}

bool showing = false;

} // namespace

void MessageBox::setRecorder(Recorder replacement)
{
    recorder() = std::move(replacement);
}

void MessageBox::showError(const QString& text)
{
    if (recorder()) {
        recorder()(text);
        return;
    }
    if (showing) {
        std::fprintf(stderr, "tarmel: %s\n", text.toUtf8().constData());
        return;
    }
    showing = true;
    // The window titles stay exactly as set: no application name is appended.
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Тармель"), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
    showing = false;
}

void runGuarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const Error& e) {
        MessageBox::showError(QString::fromUtf8(e.what()));
    } catch (const std::exception& e) {
        MessageBox::showError(QString::fromUtf8(e.what()));
    }
}

} // namespace tarmel
