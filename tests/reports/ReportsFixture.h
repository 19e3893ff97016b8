#pragma once
// What the report tests share: small registries written by raw SQL, lists as text, the Mail settings.

#include "document/CMemoryReportList.h"
#include "reports/query/ReportFill.h"
#include "subjects_ui/FormFixture.h"

#include <QTemporaryDir>
#include <QVariant>

namespace quorin::test {

// Runs the SQL on the Quorin database; a date 'YYYY-MM-DD' is stored as its midnight.
void Insert(const TestRegistry& registry, QString sql);

// Datasets requested by alice, bob and carol around 2010: Closed C has no release left,
// Other D was requested under another IRB only, Later E after 2010, Balance B by no staff
// member; Gone F's call log has no dataset.
void AddStandardDatasets(const TestRegistry& registry);

// A list in memory with the columns given, or with that many unnamed ones.
CMemoryReportList ListWith(const std::vector<std::pair<QString, int>>& columns);
CMemoryReportList ListWith(int columns);

// The rows Python's csv module reads from the file, its byte-order mark no part of a field.
std::vector<QStringList> ReadCsvWithPython(const QString& path);

// Each row's cells joined by "|", up to its last cell that is not empty.
QStringList Rows(const CReportList& list);
QStringList Rows(const std::vector<QStringList>& rows);

// The settings group Mail of one scope: a null value removes the key, no key clears all.
void WriteMailSetting(bool system, const QString& key, const QVariant& value);
void ClearMailSettings();

class ReportTest : public DocumentTest {
protected:
    void Insert(const QString& sql) { test::Insert(registry, sql); }
    bool Fill(CReportList& list, const ReportBuilder& build) { return FillReport(*doc, list, build); }
    QStringList Built(CMemoryReportList list, const ReportBuilder& build)
    {
        EXPECT_TRUE(Fill(list, build));
        return Rows(list);
    }
};

} // namespace quorin::test
