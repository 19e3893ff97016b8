#pragma once
// The one field rule of every comma-separated file the program writes: a field holding a
// comma, a double quote, CR or LF goes between double quotes with each double quote
// doubled; any other field is written as it stands. Lines end in CR LF.

#include <QString>
#include <QStringList>

namespace quorin::csv {

QString Field(const QString& value);

// The fields, each through Field, separated by "," and ended by CR LF.
QString Line(const QStringList& fields);

} // namespace quorin::csv
