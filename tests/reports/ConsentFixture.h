#pragma once
// Small registries for the consent, contact and letters reports: subjects and
// participation records written straight into the tables, dates as the server stores
// them, against the fixed clock of the document tests (15 June 2026).

#include "subjects_ui/FormFixture.h"

#include <QDate>
#include <QString>

namespace quorin::test {

struct SubjectRow {
    QString last = QStringLiteral("DOE");
    QString first = QStringLiteral("JANE");
    int status = 0;
    QDate birth = QDate(1970, 1, 1);
    QDate lastConsent = QDate(2020, 1, 1);
    QDate sent = QDate(2019, 12, 1);
    QDate returned = QDate(2020, 1, 1); // 1 January 1901: the letter is not back
    QString parent;
    QString address = QStringLiteral("1 Main St");
    QString city = QStringLiteral("Boston");
    QString state = QStringLiteral("MA");
    int zip = 2115;
};

class ConsentFixture : public FormTest {
protected:
    // The value as raw SQL: apostrophes doubled, NULL for no date.
    static QString Quoted(const QString& text);
    static QString Date(const QDate& date);

    int Insert(const SubjectRow& row);
    void AddParticipation(int subjectId, const QDate& date1, int participate, int contacted,
                          const QString& explanation = QString(), const QString& dataset = QStringLiteral("DS1"));
    int ContactedCode(int participationRow) const;
};

} // namespace quorin::test
