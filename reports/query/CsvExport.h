#pragma once
// Saving a report as a comma-separated file: the save dialog through the user-interface
// service, then the lines written whole or not at all (an existing file is replaced only
// once every byte of the new one is on disk). UTF-8, fields and file start as
// reports/CsvText.h says.

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace quorin {

class UserInterface;

enum class CsvResult { Saved, Cancelled, OpenFailed, WriteFailed };

// The line with the index, as its fields (they go through csv::Line). Lines carry the
// values a report's rows were made from, not the list's display: a header naming two
// fields for one displayed column ("Lastname, Firstname") gets the row's two values.
using CsvLineSource = std::function<QStringList(int index)>;

// Writes lineCount lines to the path; no dialog, no message.
CsvResult WriteCsvFile(const QString& path, int lineCount, const CsvLineSource& line);

// Asks where to save ("csv", the default name, "Comma Delimited Files (*.csv)" and
// "All Files (*.*)", the overwrite prompt), writes, and reports a failure with the stop
// icon: "Error: Can't open output file." or "Error: Can't write output file.".
CsvResult SaveCsv(UserInterface& ui, const QString& defaultName, int lineCount, const CsvLineSource& line);
CsvResult SaveCsv(UserInterface& ui, const QString& defaultName, const std::vector<QStringList>& lines);

} // namespace quorin
