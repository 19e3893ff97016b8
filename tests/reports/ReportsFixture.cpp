#include "ReportsFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>

namespace quorin::test {

void Insert(const TestRegistry& registry, QString sql)
{
    static const QRegularExpression day(QStringLiteral("'(\\d{4}-\\d\\d-\\d\\d)'"));
    registry.ExecRaw("Quorin", sql.replace(day, QStringLiteral("'\\1 00:00:00.000'")).toStdString());
}

void AddStandardDatasets(const TestRegistry& registry)
{
    Insert(registry, "insert into pers (PersId, UserName) values (101, 'alice'), (102, 'bob'), (103, 'carol'); "
                     "insert into dataset (Dataset, Irb) values ('Hearing A', '2010-001'), ('O''Neil Study', "
                     "'D''Arcy 12'), ('Balance B', '2009-050'), ('Closed C', '2011-007'), ('Other D', '2012-001'), "
                     "('Later E', '2012-002')");
    Insert(registry, "insert into requesthistory (Title, Irb, SubjectId, RequestDate, PersId) values "
                     "('Hearing A', '2010-001', 1, '2010-01-01', 101), ('Hearing A', '2010-001', 1, '2010-06-01', 101), "
                     "('Hearing A', '2010-001', 2, '2010-12-31', 101), ('Hearing A', '2010-001', 3, '2009-06-01', 101), "
                     "('Hearing A', '2010-001', 4, '2011-02-01', 101), ('O''Neil Study', 'D''Arcy 12', 1, '2010-05-05', "
                     "102), ('O''Neil Study', 'D''Arcy 12', 2, '2010-05-05', 102), ('O''Neil Study', 'D''Arcy 12', 3, "
                     "'2010-05-05', 103), ('Balance B', '2009-050', 5, '2010-03-03', 999), ('Closed C', '2011-007', 6, "
                     "'2010-07-07', 102), ('Closed C', '2011-007', 7, '2010-07-01', 102), ('Other D', '2099-009', 8, "
                     "'2010-04-04', 101), ('Later E', '2012-002', 9, '2012-01-01', 101)");
    Insert(registry, "insert into release (Title, Irb, SubjectId) values ('Hearing A', '2010-001', 1), "
                     "('O''Neil Study', 'D''Arcy 12', 1), ('Balance B', '2009-050', 1), ('Other D', '2012-001', 1), "
                     "('Later E', '2012-002', 1); "
                     "insert into participationhistory (SubjectId, Dataset, Irb, Contacted, Participate) values "
                     "(1, 'Hearing A', '2010-001', 0, 0), (1, 'Hearing A', '2010-001', 0, 1), (1, 'Hearing A', "
                     "'2010-001', 1, 1), (1, 'O''Neil Study', 'D''Arcy 12', 0, 1), (1, 'Closed C', '2011-007', 0, 0); "
                     "insert into calllog (Dataset, Irb, SubjectId) values ('Hearing A', '2010-001', 1), "
                     "('O''Neil Study', 'D''Arcy 12', 1), ('Closed C', '2011-007', 1), ('Closed C', '2011-007', 1), "
                     "('Gone F', '2008-001', 1)");
}

std::vector<QStringList> ReadCsvWithPython(const QString& path)
{
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"),
                                             QStringLiteral("import csv, json, sys\n"
                                                            "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
                                                            "    json.dump(list(csv.reader(f)), sys.stdout)\n"),
                                             path});
    EXPECT_TRUE(python.waitForFinished(60000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    std::vector<QStringList> rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList fields;
        for (const QJsonValue& field : row.toArray())
            fields << field.toString();
        rows.push_back(fields);
    }
    return rows;
}

CMemoryReportList ListWith(const std::vector<std::pair<QString, int>>& columns)
{
    CMemoryReportList list;
    for (const auto& [heading, width] : columns)
        list.InsertColumn(list.GetColumnCount(), heading, CReportList::FormatLeft, width);
    return list;
}

CMemoryReportList ListWith(int columns)
{
    return ListWith(std::vector<std::pair<QString, int>>(static_cast<std::size_t>(columns), {QString(), 80}));
}

QStringList Rows(const std::vector<QStringList>& rows)
{
    QStringList out;
    for (QStringList cells : rows) {
        while (!cells.isEmpty() && cells.last().isEmpty())
            cells.removeLast();
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

QStringList Rows(const CReportList& list)
{
    std::vector<QStringList> rows(static_cast<std::size_t>(list.GetItemCount()));
    for (std::size_t row = 0; row < rows.size(); ++row)
        for (int column = 0; column < list.GetColumnCount(); ++column)
            rows[row] << list.GetItemText(int(row), column);
    return Rows(rows);
}

void WriteMailSetting(bool system, const QString& key, const QVariant& value)
{
    QSettings settings(QSettings::NativeFormat, system ? QSettings::SystemScope : QSettings::UserScope,
                       QStringLiteral("Local AppWizard-Generated Applications"), QStringLiteral("Quorin"));
    if (key.isEmpty())
        settings.clear();
    else if (value.isNull())
        settings.remove(QStringLiteral("Mail/") + key);
    else
        settings.setValue(QStringLiteral("Mail/") + key, value);
    settings.sync();
    ASSERT_EQ(settings.status(), QSettings::NoError);
}

void ClearMailSettings()
{
    WriteMailSetting(false, QString(), {});
    WriteMailSetting(true, QString(), {});
}

} // namespace quorin::test
