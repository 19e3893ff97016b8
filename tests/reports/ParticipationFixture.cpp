#include "ParticipationFixture.h"

#include "document/CReportList.h"

namespace quorin::test {

QString ParticipationFixture::Quoted(const QString& text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString ParticipationFixture::Date(const QDate& date)
{
    return date.isValid() ? Quoted(date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00.000"))
                          : QStringLiteral("NULL");
}

QString ParticipationFixture::DateAndTime(const QDate& date)
{
    return date.isValid() ? Quoted(date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 16:42:07.153"))
                          : QStringLiteral("NULL");
}

void ParticipationFixture::Raw(const QString& sql)
{
    registry.ExecRaw("Quorin", sql.toStdString());
}

int ParticipationFixture::AddPerson(const PersonRow& row)
{
    Raw(QStringLiteral("insert into subjects (Lastname, Firstname, Birthdate, Sex, Ethnicity, Race, PatImpression, "
                       "Status, Parent, Address, City, State, Zip, Phone1, Phone1Type, Phone2, Phone2Type, Email, "
                       "PrimaryLang, ScreeningImpr, Contact, Notes, Evenings, Weekends, Workday, Longterm, Shortterm) "
                       "values (%1, %2, %3, %4, %5, %6, %7, %8, %9, %10, %11, %12, %13, %14, %15, %16, %17, %18, %19, "
                       "%20, %21, %22, %23, %24, %25, %26, %27)")
            .arg(Quoted(row.last), Quoted(row.first), Date(row.birth), Quoted(row.sex), Quoted(row.ethnicity),
                 Quoted(row.race), Quoted(row.impression), QString::number(row.status), Quoted(row.parent))
            .arg(Quoted(row.address), Quoted(row.city), Quoted(row.state), QString::number(row.zip),
                 Quoted(row.phone1), Quoted(row.phone1Type), Quoted(row.phone2), Quoted(row.phone2Type),
                 Quoted(row.email))
            .arg(Quoted(row.language), Quoted(row.screening), Quoted(row.contact), Quoted(row.notes),
                 QString::number(row.evenings), QString::number(row.weekends), QString::number(row.workday),
                 QString::number(row.longTerm), QString::number(row.shortTerm)));
    return static_cast<int>(RawNumber("select max(SubjectId) from subjects"));
}

void ParticipationFixture::AddParticipation(const ParticRow& row)
{
    Raw(QStringLiteral("insert into participationhistory (SubjectId, Dataset, Irb, Date1, FeedbackDate, Contacted, "
                       "Participate, Completed, ExContact, ExPartic) values (%1, %2, %3, %4, %5, %6, %7, %8, %9, %10)")
            .arg(QString::number(row.subject), Quoted(row.dataset), Quoted(row.irb), Date(row.date1),
                 DateAndTime(row.feedback), QString::number(row.contacted), QString::number(row.participate),
                 QString::number(row.completed), Quoted(row.exContact))
            .arg(Quoted(row.exPartic)));
}

void ParticipationFixture::AddDataset(const QString& dataset, const QString& irb, const QString& query)
{
    Raw(QStringLiteral("insert into dataset (Dataset, Irb, Query) values (%1, %2, %3)")
            .arg(Quoted(dataset), Quoted(irb), Quoted(query)));
}

void ParticipationFixture::AddRequest(const QString& title, const QString& irb, int subject, const QDate& date)
{
    Raw(QStringLiteral("insert into requesthistory (Title, Irb, SubjectId, RequestDate) values (%1, %2, %3, %4)")
            .arg(Quoted(title), Quoted(irb), QString::number(subject), Date(date)));
}

void ParticipationFixture::AddRelease(const QString& title, const QString& irb, int subject, const QDate& date)
{
    Raw(QStringLiteral("insert into release (Title, Irb, SubjectId, ReleaseDate) values (%1, %2, %3, %4)")
            .arg(Quoted(title), Quoted(irb), QString::number(subject), DateAndTime(date)));
}

std::vector<QStringList> ParticipationFixture::RawRows(const std::string& sql) const
{
    RawRegistry raw(registry.Folder());
    std::vector<QStringList> out;
    for (const auto& row : raw.rows(sql)) {
        QStringList texts;
        for (const auto& cell : row)
            texts << (cell ? QString::fromStdString(*cell) : QString());
        out.push_back(texts);
    }
    return out;
}

std::int64_t ParticipationFixture::RawNumber(const std::string& sql) const
{
    RawRegistry raw(registry.Folder());
    return raw.number(sql);
}

QStringList ParticipationFixture::Cells(const CReportList& list)
{
    QStringList out;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        QStringList texts;
        for (int column = 0; column < list.GetColumnCount(); ++column)
            texts << list.GetItemText(row, column);
        out << texts.join(QLatin1Char('|'));
    }
    return out;
}

QDate StoredDate(const QString& iso)
{
    return QDate::fromString(iso.left(10), QStringLiteral("yyyy-MM-dd"));
}

} // namespace quorin::test
