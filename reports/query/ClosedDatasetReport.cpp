#include "reports/query/ClosedDatasetReport.h"

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"
#include "document/SessionTransaction.h"
#include "rules/SqlText.h"
#include "document/UserInterface.h"
#include "document/CReportList.h"
#include "reports/query/CsvExport.h"
#include "reports/query/ReportFill.h"

#include <QRegularExpression>

namespace quorin {

namespace {

struct OldDatasetRow {
    int subjectId = 0;
    int participate = -1;
};

QString Phone(const QString& number, const QString& type)
{
    return number == QLatin1String("0") ? QString() : number + QStringLiteral("  ") + type;
}

} // namespace

const std::vector<ClosedDatasetColumn>& ClosedDatasetColumns()
{
    static const std::vector<ClosedDatasetColumn> columns{
        {"Subject Name", 150}, {"Gender", 21},        {"Birth Date", 80}, {"Age", 70},        {"Parent", 80},
        {"Phone", 115},        {"Phone", 115},        {"Email", 80},      {"Address", 280},   {"Pref. Contact", 80},
        {"Ethnicity", 80},     {"Language", 80},      {"Pat. Imp.", 80},  {"Scr. Imp.", 80},  {"Participation", 70},
        {"Availability", 80},  {"", 0},               {"Comments", 80}};
    return columns;
}

QString AgeText(int months)
{
    return QStringLiteral("%1y%2mo").arg(months / 12).arg(months % 12);
}

QString AvailabilityText(bool evenings, bool weekends, bool workday, bool longTerm, bool shortTerm)
{
    QStringList set;
    if (evenings)
        set << QStringLiteral("Evenings");
    if (weekends)
        set << QStringLiteral("Weekends");
    if (workday)
        set << QStringLiteral("Workday");
    if (longTerm)
        set << QStringLiteral("Longterm");
    if (shortTerm)
        set << QStringLiteral("Shortterm");
    return set.join(QStringLiteral(", "));
}

void BuildClosedDatasetList(CReportQuery& query, CReportList& list, const QString& irb, const QString& dataset,
                            ClosedDatasetLoad& load)
{
    // Reset before the first statement: a failed load must not leave the previous
    // dataset's parameters or subjects to be saved or reopened under this one.
    load = ClosedDatasetLoad{};
    ClosedDatasetLoad loaded;
    loaded.irb = irb;
    loaded.dataset = dataset;

    query.BindString("@Irb", irb);
    query.BindString("@Name", dataset);
    query.RunProcedure("uspLoadDataset");
    if (!query.IsEOF())
        loaded.parameters = QStringLiteral("DATASET PARAMETERS\r\n") + query.Text("Query");

    // Read whole: the session holds one result, and each subject load replaces it.
    std::vector<OldDatasetRow> old;
    query.BindString("@Irb", irb);
    query.BindString("@Name", dataset);
    query.RunProcedure("uspGetOldDataset");
    for (; !query.IsEOF(); query.MoveNext())
        old.push_back({query.Int("SubjectId"), query.Int("participate")});

    for (const OldDatasetRow& entry : old) {
        query.BindInt("@id", entry.subjectId);
        query.RunProcedure("uspLoadSubjectbyId");
        if (query.IsEOF())
            continue; // a subject deleted since the feedback adds no row
        CClosedSubject subject;
        subject.subjectId = query.Int("SubjectId");
        subject.lastName = query.Text("Lastname");
        subject.firstName = query.Text("Firstname");
        const QString texts[kClosedDatasetColumns] = {
            subject.lastName + QStringLiteral(", ") + subject.firstName,
            query.Text("Sex").left(1),
            query.Text("Birth"),
            AgeText(query.Int("age")),
            query.Text("Parent"),
            Phone(query.Text("Phone1"), query.Text("Phone1Type")),
            Phone(query.Text("Phone2"), query.Text("Phone2Type")),
            query.Text("Email"),
            QStringLiteral("%1 %2, %3  %4")
                .arg(query.Text("Address"), query.Text("City"), query.Text("State"), QString::number(query.Int("zip"))),
            query.Text("Contact"),
            query.Text("Ethnicity"),
            query.Text("PrimaryLang"),
            query.Text("PatImpression"),
            query.Text("ScreeningImpr"),
            entry.participate == 0 ? QStringLiteral("Y") : QStringLiteral("N"),
            AvailabilityText(query.Int("Evenings") != 0, query.Int("Weekends") != 0, query.Int("Workday") != 0,
                             query.Int("LongTerm") != 0, query.Int("ShortTerm") != 0),
            QString::number(subject.subjectId),
            query.Text("Notes"),
        };
        const int row = list.AppendItem(texts[0]);
        for (int column = 1; column < kClosedDatasetColumns; ++column)
            list.SetItemText(row, column, texts[column]);
        loaded.subjects.push_back(std::move(subject));
    }
    load = std::move(loaded);
}

std::optional<QStringList> ReadTexts(CQuorinDoc& document, const QString& sql, const char* column)
{
    const WaitCursor wait(document.UI());
    MyADO& db = document.m_db;
    if (!RunText(db, sql))
        return std::nullopt;
    QStringList texts;
    for (; !db.IsEOF(); db.MoveNext())
        texts << StringField(db, column);
    return texts;
}

std::optional<QStringList> ClosedDatasetIrbs(CQuorinDoc& document)
{
    return ReadTexts(document, QStringLiteral("Select distinct irb from participationhistory"), "irb");
}

std::optional<QStringList> ClosedDatasetNames(CQuorinDoc& document, const QString& irb)
{
    return ReadTexts(document,
                     QStringLiteral("Select distinct dataset from participationhistory where irb = '%1'").arg(sql::Text(irb)),
                     "Dataset");
}

std::vector<QStringList> ClosedDatasetCsvLines(const ClosedDatasetLoad& load, const CReportList& list)
{
    std::vector<QStringList> lines;
    lines.push_back({load.dataset});
    lines.push_back({});
    if (!load.parameters.isEmpty()) {
        QStringList parameterLines = load.parameters.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
        while (!parameterLines.isEmpty() && parameterLines.last().isEmpty())
            parameterLines.removeLast();
        for (const QString& line : parameterLines)
            lines.push_back({line});
    }
    lines.push_back({QStringLiteral("LastName"), QStringLiteral("FirstName"), QStringLiteral("Gender"),
                     QStringLiteral("Birthdate"), QStringLiteral("Age"), QStringLiteral("Parent"), QStringLiteral("Phone"),
                     QStringLiteral("Phone"), QStringLiteral("Email"), QStringLiteral("Address"),
                     QStringLiteral("Preferred Contact"), QStringLiteral("Ethnicity"), QStringLiteral("Language"),
                     QStringLiteral("Patient Impression"), QStringLiteral("Screening Impression")});
    const int rows = std::min(list.GetItemCount(), static_cast<int>(load.subjects.size()));
    for (int row = 0; row < rows; ++row) {
        const CClosedSubject& subject = load.subjects[static_cast<size_t>(row)];
        QStringList fields{subject.lastName, subject.firstName};
        for (int column = 1; column <= 13; ++column) {
            const QString text = list.GetItemText(row, column);
            const bool phone = column == 5 || column == 6;
            fields << (phone && text == QLatin1String("0") ? QString() : text);
        }
        lines.push_back(fields);
    }
    return lines;
}

void SaveClosedDataset(UserInterface& ui, const ClosedDatasetLoad& load, const CReportList& list)
{
    if (load.dataset.isEmpty())
        return;
    SaveCsv(ui, load.dataset, ClosedDatasetCsvLines(load, list));
}

bool ReOpenClosedDataset(CQuorinDoc& document, const ClosedDatasetLoad& load)
{
    if (load.dataset.isEmpty() || load.subjects.empty())
        return true;
    const WaitCursor wait(document.UI());
    MyADO& db = document.m_db;
    bool ok = false;
    {
        SessionTransaction transaction(db);
        ok = transaction.Started();
        for (size_t i = 0; ok && i < load.subjects.size(); ++i) {
            db.BindIntParam("@SubjectId", load.subjects[i].subjectId);
            BindString(db, "@Irb", load.irb);
            BindString(db, "@Title", load.dataset);
            ok = db.RunStoredProcedure("uspReOpenDataset") != 0;
            db.RemoveParams();
        }
        ok = ok && transaction.Commit();
    }
    if (!ok)
        document.UI().MessageBox(QStringLiteral("Unable to reopen dataset %1 under IRB %2. Nothing was changed.")
                                     .arg(load.dataset, load.irb),
                                 UserInterface::Icon::Stop);
    return ok;
}

} // namespace quorin
