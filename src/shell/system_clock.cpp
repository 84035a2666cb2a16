#include "system_clock.h"

#include "text_codec.h"

#include <QDate>
#include <QLocale>
#include <QTime>

namespace tarmel {

std::string SystemClock::timeText()
{
    // The long time format without the time zone: hours, minutes, seconds.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return fromQt(QTime::currentTime().toString(format.trimmed()));
}

std::string SystemClock::dateText()
{
    return fromQt(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
}

} // namespace tarmel
