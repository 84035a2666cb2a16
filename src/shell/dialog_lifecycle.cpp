#include "main_window.h"

#include "dialog_log.h"
#include "phrase_base.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>
#include <QToolButton>

namespace {

// Removes the last display line of the transcript: an entry wrapped over
// several display lines loses only its last one.
void removeLastDisplayLine(QTextEdit* transcript)
{
    QTextDocument* document = transcript->document();
    if (document->isEmpty())
        return;
    const QTextBlock block = document->lastBlock();
    document->documentLayout()->blockBoundingRect(block); // lays the block out
    const QTextLayout* layout = block.layout();
    const int end = block.position() + block.length() - 1;
    QTextCursor cursor(document);
    if (layout && layout->lineCount() > 1) {
        // With the blanks where the line was wrapped.
        int start = block.position() + layout->lineAt(layout->lineCount() - 1).textStart();
        while (start > block.position() && document->characterAt(start - 1).isSpace())
            --start;
        cursor.setPosition(start);
    } else if (block.previous().isValid())
        cursor.setPosition(block.position() - 1); // with the paragraph break before it
    else
        cursor.setPosition(block.position());
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

// Gives the undo key to the dialog's undo while that is enabled. The input
// line claims Ctrl+Z for its own undo before any window shortcut sees it, so
// the key is taken from it here.
class UndoKeyFilter : public QObject {
public:
    UndoKeyFilter(QAction* undo, QObject* parent) : QObject(parent), undo_(undo) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && undo_->isEnabled() &&
            QKeySequence(static_cast<QKeyEvent*>(event)->keyCombination()) == undo_->shortcut()) {
            undo_->trigger();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QAction* undo_;
};

} // namespace

void TForm1::routeUndoKey()
{
    Input->installEventFilter(new UndoKeyFilter(N3, this));
}

// Loading report: the base is read and counted while the input waits.
void TForm1::T3Timer()
{
    T3->stop(); // once per run, also when the table cannot be read
    SB1Panel[0]->setText(QStringLiteral("Идёт загрузка подождите..."));
    Input->setReadOnly(true);
    Speak->setEnabled(false);
    const auto giveBackInput = [this] {
        Input->setReadOnly(false);
        Speak->setEnabled(true);
        SB1Panel[0]->setText(QStringLiteral("Загрузка окончена"));
    };
    try {
        engine.LoadList(tarmel::files::kWords);
    } catch (...) {
        giveBackInput();
        throw;
    }
    const tarmel::TableCounts counts = tarmel::CountTable(engine.RE2.lines());
    SB1Panel[1]->setText(QStringLiteral("Программе известно:   [главные фразы - %1   ветки - %2]")
                             .arg(counts.mainPhrases)
                             .arg(counts.branches));
    giveBackInput();
}

// Dialog header: opens the dialog log once per run.
void TForm1::T12Timer()
{
    T12->stop();
    RE1->clear();
    for (std::string& line :
         tarmel::dialog_log::headerLines(engine.clock.dateText(), engine.clock.timeText()))
        engine.Log.append(std::move(line));
}

// Base statistics: what the base holds a second after start, appended once to
// the captions of the "&Подробнее о базе:" items.
void TForm1::T8Timer()
{
    T8->stop(); // once per run, also when a file cannot be read
    engine.LoadList(tarmel::files::kWords);
    const long incoming = tarmel::CountTable(engine.RE2.lines()).learned;
    long outgoing = 0;
    for (const std::string_view name :
         {tarmel::files::kLongPhraseReplies, tarmel::files::kIdleRemarks,
          tarmel::files::kRepeatReplies, tarmel::files::kQuestionReplies,
          tarmel::files::kStatementReplies, tarmel::files::kAbuseReplies}) {
        engine.LoadList(name);
        outgoing += static_cast<long>(engine.RE2.count());
    }
    engine.LoadList(tarmel::files::kWords);
    outgoing += tarmel::CountTable(engine.RE2.lines()).answers;

    const auto extend = [](QAction* item, long number) {
        item->setText(item->text() + QStringLiteral(" [%1]").arg(number));
    };
    extend(N18, incoming);
    extend(N19, outgoing);
    extend(N20, incoming + outgoing);
}

// New dialog: the transcript, the log and the input start empty; the shake
// and the greeting run again. The conversation state carries over.
void TForm1::N2Click()
{
    RE1->clear();
    engine.Log.clear();
    Input->clear();
    T7->start();
    T10->start();
}

// Undo: takes back the last display line of the transcript and the last log
// line, then shakes.
void TForm1::CancelClick()
{
    removeLastDisplayLine(RE1);
    engine.Log.removeLast();
    T7->start();
}

void TForm1::N3Click()
{
    Cancel->click(); // does nothing while Cancel is disabled
}

// Exit: appends the dialog's block to the log file and closes the program. A
// failing read or write stops here with the window open, the log file as it
// was and the dialog log kept, so the exit can be tried again.
void TForm1::N4Click()
{
    engine.LoadList(tarmel::files::kDialogLog);
    tarmel::Lines file = engine.RE2.lines();
    tarmel::dialog_log::appendBlock(file, engine.Log.lines(), engine.clock.dateText(),
                                    engine.clock.timeText());
    engine.RE2.assign(std::move(file));
    engine.SaveList(tarmel::files::kDialogLog);
    close();
}
