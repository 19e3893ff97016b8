#pragma once
// The Closed Dataset report: for one IRB and dataset, the contact sheet of every subject
// the feedback records, saved as a comma-separated file, and the dataset reopened (its
// subjects released again) when the study resumes.

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class CQuorinDoc;
class CReportList;

namespace quorin {

class CReportQuery;
class UserInterface;

enum { kClosedDatasetColumns = 18, kClosedDatasetIdColumn = 16 };

struct ClosedDatasetColumn {
    const char* heading;
    int width;
};
// The list's columns with their headers and widths in pixels.
const std::vector<ClosedDatasetColumn>& ClosedDatasetColumns();

// One subject row as loaded: what ReOpen and the file need besides the list's texts.
struct CClosedSubject {
    int subjectId = 0;
    QString lastName;
    QString firstName;
};

// What the list was loaded with. Save and ReOpen work on this, never on what the combos
// show by then.
struct ClosedDatasetLoad {
    QString irb;
    QString dataset;
    QString parameters; // "DATASET PARAMETERS" and the dataset's query, or empty
    std::vector<CClosedSubject> subjects; // one per list row, in list order
};

// The statements and rows of one load; `load` gets the IRB, dataset, parameters and rows
// (it is reset first, so a failed load leaves nothing behind). A failed statement ends
// it (ReportFill.h).
void BuildClosedDatasetList(CReportQuery& query, CReportList& list, const QString& irb, const QString& dataset,
                            ClosedDatasetLoad& load);

// The list's texts of one subject from the loaded procedure row (ages in months).
QString AgeText(int months);
QString AvailabilityText(bool evenings, bool weekends, bool workday, bool longTerm, bool shortTerm);

// Every distinct value of the column of a text query, in the order read; nothing when
// the statement failed (the session has shown its boxes).
std::optional<QStringList> ReadTexts(CQuorinDoc& document, const QString& sql, const char* column);
// The choices of the two combos.
std::optional<QStringList> ClosedDatasetIrbs(CQuorinDoc& document);
std::optional<QStringList> ClosedDatasetNames(CQuorinDoc& document, const QString& irb);

// The file's lines as fields: the dataset name, an empty line, the parameters' lines,
// the header, then per row the subject's last and first name and columns 1 to 13.
std::vector<QStringList> ClosedDatasetCsvLines(const ClosedDatasetLoad& load, const CReportList& list);

// Save: the save dialog (default name the dataset) and the file. Nothing loaded: nothing.
void SaveClosedDataset(UserInterface& ui, const ClosedDatasetLoad& load, const CReportList& list);

// ReOpen: every loaded subject released again under the loaded IRB and dataset, all in
// one transaction. On a failure nothing stays changed and the user is told so. Returns
// true when every subject was released (or nothing was loaded).
bool ReOpenClosedDataset(CQuorinDoc& document, const ClosedDatasetLoad& load);

} // namespace quorin
