#include "main_window.h"

#include "errors.h"
#include "message_box.h"
#include "phrase_base.h"
#include "sound.h"

#include <QTimer>

#include <algorithm>
#include <cstdint>

namespace {

// The shared counter grows with the wrap-around of a signed 32-bit integer.
std::int32_t addWrapping(std::int32_t counter, std::uint32_t step)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(counter) + step);
}

// The file reads of one remark tick. A file that cannot be read is reported
// once, and again only after it has been read successfully in between, so a
// missing file does not bring a message box every second. The report is
// shown when the tick has done its work: the message box runs an event loop
// of its own, in which the timers go on ticking.
class RemarkReads {
public:
    explicit RemarkReads(std::vector<std::string>& unreadable) : unreadable_(unreadable) {}

    // Runs read(), which returns whether it did read the file; false when
    // the read failed.
    template <typename Read> bool run(std::string_view name, Read read)
    {
        const auto known = std::find(unreadable_.begin(), unreadable_.end(), name);
        try {
            if (read() && known != unreadable_.end())
                unreadable_.erase(known);
            return true;
        } catch (const tarmel::Error& e) {
            if (known == unreadable_.end()) {
                unreadable_.emplace_back(name);
                if (report_.isEmpty())
                    report_ = QString::fromUtf8(e.what());
            }
            return false;
        }
    }

    void showReport() const
    {
        if (!report_.isEmpty())
            tarmel::MessageBox::showError(report_);
    }

private:
    std::vector<std::string>& unreadable_;
    QString report_;
};

// The hourglass for the length of a scope.
class BusyCursor {
public:
    explicit BusyCursor(TForm1& window) : window_(window) { window_.setBusyCursor(true); }
    ~BusyCursor() { window_.setBusyCursor(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    TForm1& window_;
};

} // namespace

// Idle remark: after 90 to 120 seconds without a turn, a line of Pause.Dat.
void TForm1::T2Timer()
{
    tarmel::DialogState& state = engine.state;
    engine.random.reseed();
    const int threshold = 90 + engine.random.draw(31); // a new threshold on every tick
    ++state.IdleTicks;
    if (state.IdleTicks < threshold)
        return;

    // A failed read leaves the count above the threshold, so the remark comes
    // at the first tick after the file is back.
    RemarkReads reads(UnreadableRemarkFiles);
    std::string remark;
    const bool ready = reads.run(tarmel::files::kIdleRemarks, [&] {
        engine.LoadList(tarmel::files::kIdleRemarks);
        remark = engine.RandomLine();
        return true;
    }) && reads.run(tarmel::files::kRepeatTails, [&] {
        std::string said = engine.AvoidRepeat(remark);
        const bool readTails = said.size() != remark.size();
        remark = std::move(said);
        return readTails;
    });
    if (ready) {
        state.ReplyPhrase = remark;
        // This remark is shown and logged before its sound plays.
        showLine(remark, tarmel::TextStyle::Cpu);
        engine.Log.append(engine.BotLogLine(remark));
        MP5->play();
        state.IdleTicks = 0;
    }
    reads.showReport();
}

// Greeting: one time in three, a line of Begin.dat; the timer ticks once.
void TForm1::T10Timer()
{
    T10->stop();
    // The dialog's header comes before its first line.
    if (T12->isActive())
        T12Timer();
    engine.random.reseed();
    if (engine.random.draw(3) != 0)
        return;
    RemarkReads reads(UnreadableRemarkFiles);
    if (reads.run(tarmel::files::kGreetings, [&] {
            engine.LoadList(tarmel::files::kGreetings);
            return true;
        })) {
        {
            BusyCursor busy(*this);
            engine.state.ReplyPhrase = engine.RandomLine();
        }
        engine.PostBotLine(engine.state.ReplyPhrase);
    }
    reads.showReport();
}

// After-turn remark: two ticks after a turn switched it on, a line of AI.dat
// other than its first.
void TForm1::T9Timer()
{
    RemarkCounter = addWrapping(RemarkCounter, 500);
    if (RemarkCounter != 1000)
        return;
    // AI.dat is read again here rather than taken from RE2, which a later
    // turn may have filled with another file meanwhile.
    RemarkReads reads(UnreadableRemarkFiles);
    tarmel::LineList remarks;
    if (reads.run(tarmel::files::kAfterTurnRemarks, [&] {
            engine.files.load(remarks, tarmel::files::kAfterTurnRemarks);
            return true;
        })) {
        BusyCursor busy(*this);
        const int count = static_cast<int>(remarks.count());
        const int index = engine.random.draw(count - 1) + 1;
        engine.PostBotLine(remarks.line(static_cast<std::size_t>(index)));
    }
    RemarkCounter = 0;
    T9->stop();
    reads.showReport();
}

// Follow-up: says FollowUpPhrase once the shared counter reaches the period
// drawn at this tick (100 ... 1099 ms).
void TForm1::T13Timer()
{
    engine.random.reseed();
    const int period = 100 + engine.random.draw(1000);
    T13->setInterval(period);
    RemarkCounter = addWrapping(RemarkCounter, 15);
    if (RemarkCounter < period) // a negative counter is below every period
        return;
    engine.PostBotLine(engine.state.FollowUpPhrase);
    T13->stop();
}
