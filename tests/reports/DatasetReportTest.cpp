// The Dataset and IRB list on the standard datasets, and its reminders against a real
// SMTP server (aiosmtpd on 127.0.0.1, started here) with the Mail settings by scope.

#include "ReportsFixture.h"
#include "SmtpSink.h"

#include "reports/query/DatasetReport.h"

#include <QJsonArray>

namespace quorin::test {
namespace {

class DatasetFillTest : public ReportTest {
protected:
    void SetUp() override
    {
        ReportTest::SetUp();
        AddStandardDatasets(registry);
    }
};

// A request on To counts, one after it not; a quote typed into a date stays in its value,
// which the server cannot read. Orphaned call logs go.
TEST_F(DatasetFillTest, EachOrderAndOpenOnlyWithCountsStateAndTotal)
{
    const QString heading = "DATASET|IRB|REQUEST DATE|SUBJECTS|CONTACTED|PARTICIPATED|OPEN";
    const QString balance = "Balance B|2009-050|03/03/2010|1|0|0|Open";
    const QString oneil = "O'Neil Study|D'Arcy 12|05/05/2010|3|1|0|Open";
    const QString closed = "Closed C|2011-007|07/07/2010|2|1|1|Closed";
    const QString hearing = "Hearing A|2010-001|12/31/2010|2|2|1|Open";
    struct Case { int order; bool openOnly; QString from; QStringList rows; };
    const Case cases[] = {
        {0, false, "1/1/2010", {heading, balance, oneil, closed, hearing, "TOTAL:|||8|4|2"}},
        {1, false, "1/1/2010", {heading, balance, hearing, closed, oneil, "TOTAL:|||8|4|2"}},
        {0, true, "1/1/2010", {heading, balance, oneil, hearing, "TOTAL:|||6|3|1"}},
        {0, false, "1/1/2010' or '1'='1", {}},
    };
    for (const Case& c : cases) {
        CMemoryReportList list = ListWith(kDatasetColumns);
        EXPECT_EQ(FillDatasetReport(*doc, list, {c.from, "12/31/2010", c.order, c.openOnly}), !c.rows.isEmpty());
        EXPECT_EQ(Rows(list), c.rows) << c.order << c.openOnly;
        EXPECT_EQ(TakeErrors().empty(), !c.rows.isEmpty());
    }
    EXPECT_EQ(Count("Quorin", "select count(*) as num from calllog"), 4) << "Gone F's call log alone purged";
}

class DatasetMailTest : public DatasetFillTest {
protected:
    void SetUp() override
    {
        DatasetFillTest::SetUp();
        ClearMailSettings();
    }
    void TearDown() override
    {
        ClearMailSettings();
        DatasetFillTest::TearDown();
    }
};

// The heading marked is every row, as no mark is (the window test). O'Neil Study's first
// requester only; Balance B's is no staff member; Closed C loses its call log and gets no
// mail. The relay comes from the system's settings, its port from the user's.
TEST_F(DatasetMailTest, NoSelectionOrTheHeadingMailsEveryOpenDatasetOnce)
{
    CMemoryReportList list = ListWith(kDatasetColumns);
    ASSERT_TRUE(FillDatasetReport(*doc, list, {"1/1/2010", "12/31/2010", 0, false}));
    WriteMailSetting(true, "SmtpServer", "127.0.0.1");
    WriteMailSetting(true, "Domain", "lab.example");
    WriteMailSetting(true, "Sender", "registry@lab.example");
    SmtpSink sink;
    ASSERT_TRUE(sink.Problem().isEmpty()) << sink.Problem().toStdString();
    WriteMailSetting(false, "SmtpPort", sink.port());
    list.SetSelectionMark(0);
    SendDatasetReminders(*doc, list);
    ASSERT_EQ(ui.Messages().size(), 1u) << ui.Texts().join(" | ").toStdString();
    EXPECT_EQ(ui.Messages()[0].text, "Reminders mailed: 2 of 2.\n\nMailed:\nbob@lab.example (O'Neil Study, IRB "
                                     "D'Arcy 12)\nalice@lab.example (Hearing A, IRB 2010-001)");
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Information);
    ASSERT_EQ(sink.MessageCount(), 2);
    EXPECT_EQ(sink.Message(2)["rcpt_tos"].toArray(), QJsonArray{"alice@lab.example"});
    const QJsonObject m = sink.Message(1);
    EXPECT_EQ(m["rcpt_tos"].toArray(), QJsonArray{"bob@lab.example"});
    EXPECT_EQ(m["mail_from"].toString() + " | " + m["subject"].toString(), "registry@lab.example | Velmar Open Dataset");
    EXPECT_EQ(QString::fromUtf8(Field64(m, "body")).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).trimmed(),
              "This email is to remind you that you have the open dataset O'Neil Study under IRB D'Arcy 12 in the "
              "Velmar.\nIf you are finished with the dataset, please enter your feedback and close the dataset.\n"
              "Thank you,\nVelmar Administrator");
    EXPECT_EQ(Count("Quorin", "select count(*) as num from calllog where Dataset = 'Closed C'"), 0);
    EXPECT_TRUE(TakeErrors().empty());
}

} // namespace
} // namespace quorin::test
