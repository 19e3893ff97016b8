#pragma once
// The one field rule of every comma-separated file the program writes.
//
// A field that begins with "=", "+", "-", "@", a tab or a carriage return and is not
// wholly a number (an optional sign, digits, at most one point) gets a leading
// apostrophe: a spreadsheet would otherwise run it as a formula ("=HYPERLINK(...)" in a
// name), and with the apostrophe it shows the text. "-12" and "+3.5" stay numbers.
// Readers other than spreadsheets (a mail merge, a script) see the apostrophe.
//
// Then a field holding a comma, a double quote, CR or LF goes between double quotes with
// each double quote doubled; any other field is written as it stands. Lines end in
// CR LF, and a file starts with the UTF-8 byte-order mark, so that a spreadsheet on
// Windows reads it as UTF-8 and not in the local code page.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quorin::csv {

QString Field(const QString& value);

// The fields, each through Field, separated by "," and ended by CR LF.
QString Line(const QStringList& fields);

// The bytes every file begins with.
QByteArray FileStart();

} // namespace quorin::csv
