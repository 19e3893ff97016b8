#include "DatasetFixture.h"

#include "rules/SqlText.h"

#include <QSettings>

namespace quorin::test {

void WriteMailSetting(bool system, const QString& key, const QVariant& value)
{
    QSettings settings(QSettings::NativeFormat, system ? QSettings::SystemScope : QSettings::UserScope,
                       QStringLiteral("Local AppWizard-Generated Applications"), QStringLiteral("Quorin"));
    settings.beginGroup(QStringLiteral("Mail"));
    if (value.isNull())
        settings.remove(key);
    else
        settings.setValue(key, value);
    settings.endGroup();
    settings.sync();
    ASSERT_EQ(settings.status(), QSettings::NoError);
}

void ClearMailSettings()
{
    for (const bool system : {false, true}) {
        QSettings settings(QSettings::NativeFormat, system ? QSettings::SystemScope : QSettings::UserScope,
                           QStringLiteral("Local AppWizard-Generated Applications"), QStringLiteral("Quorin"));
        settings.clear();
        settings.sync();
    }
}

void DatasetTest::SetUp()
{
    FormTest::SetUp();
    ClearMailSettings();
}

void DatasetTest::TearDown()
{
    ClearMailSettings();
    FormTest::TearDown();
}

void DatasetTest::Exec(const QString& sql)
{
    registry.ExecRaw("Quorin", sql.toStdString());
}

void DatasetTest::AddDataset(const QString& dataset, const QString& irb)
{
    Exec(QStringLiteral("insert into dataset (Dataset, Irb) values ('%1', '%2')").arg(sql::Text(dataset), sql::Text(irb)));
}

void DatasetTest::AddRequest(const QString& title, const QString& irb, int subject, const QString& isoDate, int persId)
{
    Exec(QStringLiteral("insert into requesthistory (Title, Irb, SubjectId, RequestDate, PersId) values ('%1', '%2', %3, "
                        "'%4', %5)")
             .arg(sql::Text(title), sql::Text(irb), QString::number(subject), isoDate, QString::number(persId)));
}

void DatasetTest::AddRelease(const QString& title, const QString& irb)
{
    Exec(QStringLiteral("insert into release (Title, Irb, SubjectId, ReleaseDate) values ('%1', '%2', 1, "
                        "'2010-02-02 00:00:00')")
             .arg(sql::Text(title), sql::Text(irb)));
}

void DatasetTest::AddParticipation(const QString& dataset, const QString& irb, int contacted, int participate)
{
    Exec(QStringLiteral("insert into participationhistory (SubjectId, Dataset, Irb, Contacted, Participate) values (1, "
                        "'%1', '%2', %3, %4)")
             .arg(sql::Text(dataset), sql::Text(irb), QString::number(contacted), QString::number(participate)));
}

void DatasetTest::AddCall(const QString& dataset, const QString& irb)
{
    Exec(QStringLiteral("insert into calllog (Dataset, Irb, SubjectId, CallDate) values ('%1', '%2', 1, "
                        "'2010-03-03 00:00:00')")
             .arg(sql::Text(dataset), sql::Text(irb)));
}

int DatasetTest::AddStaff(const QString& userName)
{
    Exec(QStringLiteral("insert into pers (UserName) values ('%1')").arg(sql::Text(userName)));
    return Count("Quorin", QStringLiteral("select PersId as num from pers where UserName = '%1'").arg(sql::Text(userName)));
}

int DatasetTest::CallsOf(const QString& dataset, const QString& irb)
{
    return Count("Quorin", QStringLiteral("select count(*) as num from calllog where Dataset = '%1' and Irb = '%2'")
                               .arg(sql::Text(dataset), sql::Text(irb)));
}

void DatasetTest::AddStandardDatasets()
{
    alice = AddStaff(QStringLiteral("alice"));
    bob = AddStaff(QStringLiteral("bob"));
    carol = AddStaff(QStringLiteral("carol"));

    // Requested on the first and on the last day of 2010, before and after it too.
    AddDataset(QStringLiteral("Hearing A"), QStringLiteral("2010-001"));
    AddRequest(QStringLiteral("Hearing A"), QStringLiteral("2010-001"), 1, QStringLiteral("2010-01-01 00:00:00"), alice);
    AddRequest(QStringLiteral("Hearing A"), QStringLiteral("2010-001"), 1, QStringLiteral("2010-06-01 00:00:00"), alice);
    AddRequest(QStringLiteral("Hearing A"), QStringLiteral("2010-001"), 2, QStringLiteral("2010-12-31 00:00:00"), alice);
    AddRequest(QStringLiteral("Hearing A"), QStringLiteral("2010-001"), 3, QStringLiteral("2009-06-01 00:00:00"), alice);
    AddRequest(QStringLiteral("Hearing A"), QStringLiteral("2010-001"), 4, QStringLiteral("2011-02-01 00:00:00"), alice);
    AddRelease(QStringLiteral("Hearing A"), QStringLiteral("2010-001"));
    AddParticipation(QStringLiteral("Hearing A"), QStringLiteral("2010-001"), 0, 0);
    AddParticipation(QStringLiteral("Hearing A"), QStringLiteral("2010-001"), 0, 1);
    AddParticipation(QStringLiteral("Hearing A"), QStringLiteral("2010-001"), 1, 1);
    AddCall(QStringLiteral("Hearing A"), QStringLiteral("2010-001"));

    // Two requesters; the IRB holds an apostrophe.
    AddDataset(QStringLiteral("O'Neil Study"), QStringLiteral("D'Arcy 12"));
    for (int subject = 1; subject <= 3; ++subject)
        AddRequest(QStringLiteral("O'Neil Study"), QStringLiteral("D'Arcy 12"), subject,
                   QStringLiteral("2010-05-05 00:00:00"), subject == 3 ? carol : bob);
    AddRelease(QStringLiteral("O'Neil Study"), QStringLiteral("D'Arcy 12"));
    AddParticipation(QStringLiteral("O'Neil Study"), QStringLiteral("D'Arcy 12"), 0, 1);
    AddCall(QStringLiteral("O'Neil Study"), QStringLiteral("D'Arcy 12"));

    // Its requester has no pers row.
    AddDataset(QStringLiteral("Balance B"), QStringLiteral("2009-050"));
    AddRequest(QStringLiteral("Balance B"), QStringLiteral("2009-050"), 5, QStringLiteral("2010-03-03 00:00:00"), 999);
    AddRelease(QStringLiteral("Balance B"), QStringLiteral("2009-050"));

    // Closed: no release left.
    AddDataset(QStringLiteral("Closed C"), QStringLiteral("2011-007"));
    AddRequest(QStringLiteral("Closed C"), QStringLiteral("2011-007"), 6, QStringLiteral("2010-07-07 00:00:00"), bob);
    AddRequest(QStringLiteral("Closed C"), QStringLiteral("2011-007"), 7, QStringLiteral("2010-07-01 00:00:00"), bob);
    AddParticipation(QStringLiteral("Closed C"), QStringLiteral("2011-007"), 0, 0);
    AddCall(QStringLiteral("Closed C"), QStringLiteral("2011-007"));
    AddCall(QStringLiteral("Closed C"), QStringLiteral("2011-007"));

    // Requested only under another IRB: dropped.
    AddDataset(QStringLiteral("Other D"), QStringLiteral("2012-001"));
    AddRequest(QStringLiteral("Other D"), QStringLiteral("2099-009"), 8, QStringLiteral("2010-04-04 00:00:00"), alice);
    AddRelease(QStringLiteral("Other D"), QStringLiteral("2012-001"));

    // Requested only after the period.
    AddDataset(QStringLiteral("Later E"), QStringLiteral("2012-002"));
    AddRequest(QStringLiteral("Later E"), QStringLiteral("2012-002"), 9, QStringLiteral("2012-01-01 00:00:00"), alice);
    AddRelease(QStringLiteral("Later E"), QStringLiteral("2012-002"));

    // A call-log row whose dataset is gone.
    AddCall(QStringLiteral("Gone F"), QStringLiteral("2008-001"));
}

} // namespace quorin::test
