#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace tarmel {

// Error reports of the program. Tests swap the real message box for a
// recorder. While one report is on screen, further reports (for instance from
// timers that keep ticking behind the modal box) are written to standard
// error instead of opening a flood of boxes.
class MessageBox {
public:
    using Recorder = std::function<void(const QString&)>;

    static void showError(const QString& text);
    // Replaces the real box; an empty recorder restores it.
    static void setRecorder(Recorder recorder);
};

// Runs an event handler: a failure is shown in a message box and the handler
// stops there; what it did before stays done and the program goes on.
void runGuarded(const std::function<void()>& handler);

} // namespace tarmel
