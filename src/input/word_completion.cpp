// Speed Word: completion of the input line's last word from the dictionary,
// the input line's change handling, and the application-wide key hook that
// steps through the dictionary with the arrow keys.

#include "input_logic.h"
#include "main_window.h"
#include "message_box.h"
#include "sound.h"

#include "cp1251.h"
#include "phrase_base.h"
#include "text_codec.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include <optional>

namespace {

const QString kNoMatch = QStringLiteral("[NONE]");
const QString kLoaded = QStringLiteral("Загрузка окончена");

// Sees every key event of the program before it is delivered and passes each
// physical key-down to AppMessage exactly once. One press reaches the filter
// several times: at the window, at the focus widget and at each parent it is
// passed up to; and a key first arrives as a ShortcutOverride, followed by the
// KeyPress only when no shortcut takes it.
class KeyHook : public QObject {
public:
    explicit KeyHook(TForm1* form) : QObject(form), form_(form) {}

    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (!firstSight(receiver, key) || isSystemKey(*key))
            return false;
        bool handled = false;
        tarmel::runGuarded([this, key, &handled] { form_->AppMessage(key->key(), handled); });
        return handled; // always false: the key goes on to its window
    }

private:
    struct Press {
        int key;
        Qt::KeyboardModifiers modifiers;
        quint64 timestamp;
        quint32 scanCode;
        bool operator==(const Press&) const = default;
    };

    static Press pressOf(const QKeyEvent& key)
    {
        return {key.key(), key.modifiers(), key.timestamp(), key.nativeScanCode()};
    }

    // Keys pressed with Alt (and Alt itself) are system keys, not key-downs.
    static bool isSystemKey(const QKeyEvent& key)
    {
        return key.key() == Qt::Key_Alt || key.modifiers().testFlag(Qt::AltModifier);
    }

    // The same event object passed on from `from` to `to` during one delivery:
    // from the window to one of its widgets, or from a widget up to a parent.
    static bool passedOn(QObject* from, QObject* to)
    {
        auto* toWidget = qobject_cast<QWidget*>(to);
        if (!from || !toWidget)
            return false;
        if (auto* window = qobject_cast<QWindow*>(from))
            return toWidget->window()->windowHandle() == window;
        auto* fromWidget = qobject_cast<QWidget*>(from);
        return fromWidget && toWidget != fromWidget && toWidget->isAncestorOf(fromWidget);
    }

    bool firstSight(QObject* receiver, QKeyEvent* key)
    {
        const Press press = pressOf(*key);
        if (key == lastEvent_ && key->type() == lastType_ && press == lastPress_ &&
            passedOn(lastReceiver_, receiver)) {
            lastReceiver_ = receiver;
            return false;
        }
        lastEvent_ = key;
        lastType_ = key->type();
        lastPress_ = press;
        lastReceiver_ = receiver;
        if (key->type() == QEvent::KeyPress && overridden_ == press) {
            overridden_.reset(); // the press whose ShortcutOverride was counted
            return false;
        }
        overridden_.reset();
        if (key->type() == QEvent::ShortcutOverride)
            overridden_ = press;
        return true;
    }

    TForm1* form_;
    const QKeyEvent* lastEvent_ = nullptr;
    QEvent::Type lastType_ = QEvent::None;
    Press lastPress_{};
    QPointer<QObject> lastReceiver_;
    std::optional<Press> overridden_;
};

} // namespace

void TForm1::N24Click()
{
    // The menu entry has already toggled its check mark; a failed load puts
    // it back, so that nothing changes.
    const bool on = N24->isChecked();
    try {
        SpeedWord = tarmel::readLineFile(tarmel::files::kDictionary);
    } catch (...) {
        N24->setChecked(!on);
        throw;
    }
    if (on) {
        SB1Panel[0]->setText(kNoMatch);
        T11->start();
    } else {
        SB1Panel[0]->setText(kLoaded);
        T11->stop();
    }
}

void TForm1::T11Timer()
{
    T11->stop();
    const tarmel::input::CompletionResult result =
        tarmel::input::searchCompletion(tarmel::fromQt(Input->text()), SpeedWord, CompletionIndex);
    CompletionIndex = result.index;
    if (result.found) {
        CompletionTail = result.tail;
        SB1Panel[0]->setText(tarmel::toQt(result.entry));
    } else {
        SB1Panel[0]->setText(kNoMatch);
    }
}

bool TForm1::completionOffered() const
{
    const QString panel = SB1Panel[0]->text();
    return !panel.isEmpty() && panel != kNoMatch && panel != kLoaded;
}

void TForm1::N23Click()
{
    if (!N23->isEnabled())
        return;
    const QString tail = tarmel::toQt(tarmel::cp1251::lower(CompletionTail));
    if (!tail.isEmpty())
        Input->setText(Input->text() + tail);
    T11->start();
}

void TForm1::InputChange()
{
    CompletionIndex = -1;
    MP1->play();
    if (N24->isChecked())
        T11->start();
    else
        T11->stop();
}

void TForm1::installKeyHook()
{
    if (KeyHook)
        return;
    KeyHook = new ::KeyHook(this);
    qApp->installEventFilter(KeyHook);
}

void TForm1::AppMessage(int key, bool& handled)
{
    handled = false;
    if (SpeedWord.empty() || !N24->isChecked())
        return;
    const tarmel::input::HookKey step = key == Qt::Key_Up     ? tarmel::input::HookKey::Up
                                        : key == Qt::Key_Down ? tarmel::input::HookKey::Down
                                                              : tarmel::input::HookKey::Other;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CompletionIndex =
        tarmel::input::completionIndexAfterKey(CompletionIndex, step, SpeedWord.size());
    SB1Panel[0]->setText(tarmel::toQt(SpeedWord[static_cast<std::size_t>(CompletionIndex)]));
    T11->start();
    QApplication::restoreOverrideCursor();
}
