// The Dataset and IRB list on the standard datasets, and its reminders against a real
// SMTP server (aiosmtpd on 127.0.0.1, started here) with the Mail settings by scope.

#include "ReportsFixture.h"
#include "SmtpSink.h"

#include "reports/query/DatasetReminderRun.h"
#include "reports/query/DatasetReport.h"
#include "reports/query/MailSettings.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QTcpServer>
#include <QThread>

#include <atomic>
#include <thread>
#include <tuple>

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
        ASSERT_TRUE(FillDatasetReport(*doc, list, {"1/1/2010", "12/31/2010", 0, false}));
        WriteMailSetting(true, "SmtpServer", "127.0.0.1");
        WriteMailSetting(true, "Domain", "lab.example");
        WriteMailSetting(true, "Sender", "registry@lab.example");
    }
    void TearDown() override
    {
        ClearMailSettings();
        DatasetFillTest::TearDown();
    }
    int ClosedCalls() const { return Count("Quorin", "select count(*) as num from calllog where Dataset = 'Closed C'"); }

    CMemoryReportList list = ListWith(kDatasetColumns);
};

// The heading marked is every row, as no mark is (below). O'Neil Study's first requester
// only; Balance B's is no staff member; Closed C loses its call log and gets no mail.
TEST_F(DatasetMailTest, NoSelectionOrTheHeadingMailsEveryOpenDatasetOnce)
{
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
    EXPECT_EQ(ClosedCalls(), 0);
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(DatasetMailTest, AClosedPortSaysWhoWasNotMailedAndWhyAndStillClearsClosedOnes)
{
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    WriteMailSetting(false, "SmtpPort", closedPort);
    list.SetSelectionMark(-1);
    SendDatasetReminders(*doc, list);
    ASSERT_EQ(ui.Messages().size(), 1u) << "one closing message, not a box per step";
    EXPECT_EQ(ui.Messages()[0].text, "Reminders mailed: 0 of 2.\n\nNot sent:\n"
                                     "bob@lab.example (O'Neil Study, IRB D'Arcy 12): Unable to connect to server\n"
                                     "alice@lab.example (Hearing A, IRB 2010-001): Unable to connect to server");
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(ClosedCalls(), 0);
}

// Cancel, from another thread, closes a stalled relay's connection at once. Stalled at a
// recipient nothing went out; after the message's end it may have been delivered.
TEST_F(DatasetMailTest, CancellingAStalledRelayEndsTheRunAtOnce)
{
    using Kind = ReminderOutcome::Kind;
    for (const auto& [stall, first, received] :
         {std::tuple{"rcpt", Kind::NotSent, 0}, std::tuple{"data", Kind::MaybeSent, 1}}) {
        SCOPED_TRACE(stall);
        SmtpSink sink(QString::fromLatin1(stall));
        ASSERT_TRUE(sink.Problem().isEmpty()) << sink.Problem().toStdString();
        MailSettings settings = ReadMailSettings();
        settings.smtpPort = sink.port();
        settings.timeoutSeconds = 600; // only Cancel can end the wait within the test
        DatasetReminderRun run(settings, {{"Hearing A", "2010-001", "alice"}, {"O'Neil Study", "D'Arcy 12", "bob"}});
        std::atomic<bool> done{false};
        std::thread worker([&] {
            run.Run();
            done = true;
        });
        QElapsedTimer waited;
        waited.start();
        while (sink.StallCount() == 0 && !done && waited.elapsed() < 20000)
            QThread::msleep(10);
        const bool stalled = sink.StallCount() == 1 && !done;
        QElapsedTimer cancelled;
        cancelled.start();
        run.Cancel();
        worker.join();
        ASSERT_TRUE(stalled) << "the relay never held the run: " << run.Summary().toStdString();
        EXPECT_LT(cancelled.elapsed(), 5000) << "the stalled wait ends with Cancel";
        ASSERT_EQ(run.Outcomes().size(), 2u);
        EXPECT_EQ(run.Outcomes()[0].kind, first);
        EXPECT_EQ(run.Outcomes()[1].kind, Kind::NotSent);
        EXPECT_EQ(run.Outcomes()[0].reason + run.Outcomes()[1].reason, "CancelledCancelled");
        EXPECT_EQ(sink.MessageCount(), received);
        EXPECT_EQ(sink.StallCount(), 1) << "the second reminder never reached the relay";
        EXPECT_EQ(run.Summary().contains("May have been sent"), first == Kind::MaybeSent);
    }
}

} // namespace
} // namespace quorin::test
