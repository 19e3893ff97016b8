#include "ReadBack.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <gtest/gtest.h>

namespace quorin::test {

QString RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString() << ": "
                                     << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

std::vector<QStringList> ReadCsvWithPython(const QString& path)
{
    const QString json = RunTool(QStringLiteral("python3"),
                                 {QStringLiteral("-c"),
                                  QStringLiteral("import csv, json, sys\n"
                                                 "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
                                                 "    json.dump(list(csv.reader(f)), sys.stdout)\n"),
                                  path});
    std::vector<QStringList> rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(json.toUtf8()).array()) {
        QStringList fields;
        for (const QJsonValue& field : row.toArray())
            fields << field.toString();
        rows.push_back(fields);
    }
    return rows;
}

} // namespace quorin::test
