#include "mail/MailDate.h"

#include <cstdlib>

namespace quorin::mail {

QString MailDate(const QDateTime& moment)
{
    static const char* const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDate date = moment.date();
    const QTime time = moment.time();
    const int offsetMinutes = moment.offsetFromUtc() / 60;
    const int zone = std::abs(offsetMinutes);
    return QString::asprintf("%s, %02d %s %04d %02d:%02d:%02d %c%02d%02d",
                             days[date.dayOfWeek() - 1], date.day(), months[date.month() - 1],
                             date.year(), time.hour(), time.minute(), time.second(),
                             offsetMinutes < 0 ? '-' : '+', zone / 60, zone % 60);
}

} // namespace quorin::mail
