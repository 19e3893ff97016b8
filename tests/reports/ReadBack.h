#pragma once
// Reading back what a report wrote, with the tools its users' programs stand for:
// Python's csv module for the files, poppler's tools for the printed pages.

#include <QString>
#include <QStringList>

#include <vector>

namespace quorin::test {

// Runs a tool to its end (a test failure if it does not end or fails) and returns
// what it printed.
QString RunTool(const QString& program, const QStringList& arguments);

// The rows Python's csv module reads from the file (utf-8-sig: the byte-order mark is
// no part of the first field; newline='').
std::vector<QStringList> ReadCsvWithPython(const QString& path);

} // namespace quorin::test
