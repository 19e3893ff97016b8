#include "reports/query/CsvExport.h"

#include "document/UserInterface.h"
#include "rules/CsvText.h"

#include <QSaveFile>

namespace quorin {

namespace {
constexpr qsizetype kChunk = 64 * 1024;
} // namespace

CsvResult WriteCsvFile(const QString& path, int lineCount, const CsvLineSource& line)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return CsvResult::OpenFailed;
    QByteArray chunk = csv::FileStart();
    bool ok = true;
    for (int i = 0; i < lineCount && ok; ++i) {
        chunk += csv::Line(line(i)).toUtf8();
        if (chunk.size() >= kChunk) {
            ok = file.write(chunk) == chunk.size();
            chunk.clear();
        }
    }
    if (ok && !chunk.isEmpty())
        ok = file.write(chunk) == chunk.size();
    if (!ok) {
        file.cancelWriting();
        file.commit(); // discards the new file; the old one stays as it was
        return CsvResult::WriteFailed;
    }
    return file.commit() ? CsvResult::Saved : CsvResult::WriteFailed;
}

CsvResult SaveCsv(UserInterface& ui, const QString& defaultName, int lineCount, const CsvLineSource& line)
{
    const QString path = ui.GetSaveFileName(QStringLiteral("csv"), defaultName,
                                            {QStringLiteral("Comma Delimited Files (*.csv)"),
                                             QStringLiteral("All Files (*.*)")});
    if (path.isEmpty())
        return CsvResult::Cancelled;
    const CsvResult result = WriteCsvFile(path, lineCount, line);
    if (result == CsvResult::OpenFailed)
        ui.MessageBox(QStringLiteral("Error: Can't open output file."), UserInterface::Icon::Stop);
    else if (result == CsvResult::WriteFailed)
        ui.MessageBox(QStringLiteral("Error: Can't write output file."), UserInterface::Icon::Stop);
    return result;
}

CsvResult SaveCsv(UserInterface& ui, const QString& defaultName, const std::vector<QStringList>& lines)
{
    return SaveCsv(ui, defaultName, static_cast<int>(lines.size()),
                   [&lines](int i) { return lines[static_cast<size_t>(i)]; });
}

} // namespace quorin
