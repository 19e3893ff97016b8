#pragma once
// The Date header of a message: "Sun, 07 Mar 2010 14:05:09 -0500", with English day
// and month names whatever the user's locale, four-digit year and a numeric zone, the
// form every mail program reads.

#include <QDateTime>
#include <QString>

namespace quorin::mail {

QString MailDate(const QDateTime& moment);

} // namespace quorin::mail
