#pragma once
// What a date field says when its text is no date, written once for every form.

#include <QString>

namespace quorin {

// The subject, audiogram and speech-test forms' own message.
inline QString InvalidDateMessage()
{
    return QStringLiteral("Invalid Date!\rPlease use MM/DD/YYYY.");
}

// The validated date fields' message (DDX_DateField and the implant forms' real dates).
inline QString InvalidDateFormatMessage()
{
    return QStringLiteral("Error: Invalid Date - use MM/DD/YYYY or MM-DD-YYYY format.");
}

} // namespace quorin
