#pragma once
// Dates are held as text, as typed or as the database returns them ("MM/DD/YYYY");
// the program writes "%d/%d/%d". These helpers read such texts.

#include <QString>
#include <optional>

namespace quorin {

struct DateParts {
    int month = 0;
    int day = 0;
    int year = 0;
};

// Splits at "/", "-" or "\" (empty parts skipped) and reads month, day and year
// with atoi; nothing when there are fewer than three parts.
std::optional<DateParts> SplitDate(const QString& text);

// The text as the database may read it: backslashes (which the forms accept) become
// slashes.
QString DbDate(const QString& text);

} // namespace quorin
