#pragma once
// Registries for the Participation, Feedback and Closed Dataset reports: subjects with
// every demographic field, datasets, requests, releases and participation records
// written straight into the tables (the program's session cannot), against the fixed
// clock of the document tests (15 June 2026). Feedback and release dates carry a time of
// day, as the program stores them; the other dates are midnight. Expected report contents are tallied
// from the raw rows read back with plain SQLite, never with the report's statements.

#include "subjects_ui/FormFixture.h"
#include "support/RawRegistry.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class CReportList;

namespace quorin::test {

struct PersonRow {
    QString last = QStringLiteral("DOE");
    QString first = QStringLiteral("JANE");
    QDate birth = QDate(1970, 1, 1);
    QString sex = QStringLiteral("F");
    QString ethnicity;
    QString race;
    QString impression;
    int status = 0;
    QString parent;
    QString address = QStringLiteral("1 Main St");
    QString city = QStringLiteral("Boston");
    QString state = QStringLiteral("MA");
    int zip = 2115;
    QString phone1 = QStringLiteral("617-555-0100");
    QString phone1Type = QStringLiteral("Home");
    QString phone2 = QStringLiteral("0");
    QString phone2Type;
    QString email;
    QString language = QStringLiteral("English");
    QString screening;
    QString contact = QStringLiteral("Phone");
    QString notes;
    bool evenings = false, weekends = false, workday = false, longTerm = false, shortTerm = false;
};

struct ParticRow {
    ParticRow(int subject_, QString dataset_, QString irb_, QDate date1_, QDate feedback_, int contacted_,
              int participate_, int completed_, QString exContact_ = {}, QString exPartic_ = {})
        : subject(subject_), dataset(std::move(dataset_)), irb(std::move(irb_)), date1(date1_), feedback(feedback_),
          contacted(contacted_), participate(participate_), completed(completed_), exContact(std::move(exContact_)),
          exPartic(std::move(exPartic_))
    {
    }
    int subject;
    QString dataset;
    QString irb;
    QDate date1;
    QDate feedback;
    int contacted;
    int participate;
    int completed;
    QString exContact;
    QString exPartic;
};

class ParticipationFixture : public FormTest {
protected:
    static QString Quoted(const QString& text);
    static QString Date(const QDate& date);
    // The day at a time in the afternoon, as GETDATE() stores feedback and releases.
    static QString DateAndTime(const QDate& date);

    void Raw(const QString& sql);
    int AddPerson(const PersonRow& row);
    void AddParticipation(const ParticRow& row);
    void AddDataset(const QString& dataset, const QString& irb, const QString& query = QString());
    void AddRequest(const QString& title, const QString& irb, int subject, const QDate& date);
    void AddRelease(const QString& title, const QString& irb, int subject, const QDate& date);

    // The raw rows, each column as text ("" for NULL).
    std::vector<QStringList> RawRows(const std::string& sql) const;
    std::int64_t RawNumber(const std::string& sql) const;

    // Every row of the list as its cells joined by "|".
    static QStringList Cells(const CReportList& list);
};

// Date columns as stored: ISO text; the date part as a QDate.
QDate StoredDate(const QString& iso);

} // namespace quorin::test
