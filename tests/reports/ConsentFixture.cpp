#include "ConsentFixture.h"

namespace quorin::test {

QString ConsentFixture::Quoted(const QString& text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString ConsentFixture::Date(const QDate& date)
{
    return date.isValid() ? Quoted(date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00.000"))
                          : QStringLiteral("NULL");
}

int ConsentFixture::Insert(const SubjectRow& row)
{
    registry.ExecRaw("Quorin",
                     QStringLiteral("insert into subjects (Lastname, Firstname, Status, Birthdate, LastDateofConsent, "
                                    "Sent, Returned, Parent, Address, City, State, Zip) values (%1, %2, %3, %4, %5, "
                                    "%6, %7, %8, %9, %10, %11, %12)")
                         // In one step: a "%1" in a value stays text.
                         .arg(Quoted(row.last), Quoted(row.first), QString::number(row.status), Date(row.birth),
                              Date(row.lastConsent), Date(row.sent), Date(row.returned), Quoted(row.parent),
                              Quoted(row.address), Quoted(row.city), Quoted(row.state), QString::number(row.zip))
                         .toStdString());
    return Scalar("Quorin", QStringLiteral("select max(SubjectId) as id from subjects"), "id").toInt();
}

void ConsentFixture::AddParticipation(int subjectId, const QDate& date1, int participate, int contacted,
                                      const QString& explanation, const QString& dataset)
{
    registry.ExecRaw("Quorin", QStringLiteral("insert into participationhistory (SubjectId, Dataset, Irb, Contacted, "
                                              "ExContact, Participate, Date1, FeedbackDate) values (%1, %2, 'IRB-7', "
                                              "%3, %4, %5, %6, %6)")
                                   .arg(subjectId)
                                   .arg(Quoted(dataset))
                                   .arg(contacted)
                                   .arg(Quoted(explanation))
                                   .arg(participate)
                                   .arg(Date(date1))
                                   .toStdString());
}

int ConsentFixture::ContactedCode(int participationRow) const
{
    return Scalar("Quorin", QStringLiteral("select Contacted from participationhistory where ParticId = %1")
                                .arg(participationRow), "Contacted")
        .toInt();
}

} // namespace quorin::test
