// The reminders against a real SMTP server (aiosmtpd, started here on 127.0.0.1 at a
// free port) with the Mail settings of the test's own settings folder: which rows mail
// whom, what arrives, what a Closed row clears, what a relay that refuses or never
// answers shows, and a relay that stalls cancelled mid-run. And the settings
// themselves: system value, user value, defaults.

#include "DatasetFixture.h"
#include "SmtpSink.h"

#include "document/CMemoryReportList.h"
#include "reports/query/DatasetReminderRun.h"
#include "reports/query/DatasetReport.h"
#include "reports/query/MailSettings.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QTcpServer>
#include <QThread>

#include <atomic>
#include <thread>

namespace quorin::test {
namespace {

const QString kBodyOf = QStringLiteral(
    "This email is to remind you that you have the open dataset %1 under IRB %2 in the Velmar.\n"
    "If you are finished with the dataset, please enter your feedback and close the dataset.\n"
    "Thank you,\nVelmar Administrator");

QStringList Strings(const QJsonValue& value)
{
    QStringList texts;
    for (const QJsonValue& item : value.toArray())
        texts << item.toString();
    return texts;
}

QString Body(const QJsonObject& message)
{
    return QString::fromUtf8(Field64(message, "body")).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).trimmed();
}

// Every address the sink received, in order.
QStringList Recipients(const SmtpSink& sink)
{
    QStringList all;
    for (int k = 1; k <= sink.MessageCount(); ++k)
        all << Strings(sink.Message(k)["rcpt_tos"]);
    return all;
}

class DatasetMailTest : public DatasetTest {
protected:
    void SetUp() override
    {
        DatasetTest::SetUp();
        AddStandardDatasets();
        for (int column = 0; column < kDatasetColumns; ++column)
            list.InsertColumn(column, QString(), CReportList::FormatLeft, 80);
        ASSERT_TRUE(FillDatasetReport(*doc, list, {QStringLiteral("1/1/2010"), QStringLiteral("12/31/2010"), 0, false}));
        ASSERT_EQ(list.GetItemCount(), 6);
        WriteMailSetting(true, QStringLiteral("SmtpServer"), QStringLiteral("127.0.0.1"));
        WriteMailSetting(true, QStringLiteral("Domain"), QStringLiteral("lab.example"));
        WriteMailSetting(true, QStringLiteral("Sender"), QStringLiteral("registry@lab.example"));
        ui.ClearMessages();
    }

    void UsePort(quint16 port) { WriteMailSetting(false, QStringLiteral("SmtpPort"), port); }

    int RowOf(const QString& dataset) const
    {
        for (int row = 0; row < list.GetItemCount(); ++row)
            if (list.GetItemText(row, 0) == dataset)
                return row;
        return -1;
    }

    void Email(int mark)
    {
        list.SetSelectionMark(mark);
        SendDatasetReminders(*doc, list);
        EXPECT_EQ(ui.WaitCursorDepth(), 0);
        EXPECT_GT(ui.WaitCursorShown(), 0);
    }

    CMemoryReportList list;
};

TEST_F(DatasetMailTest, NoSelectionOrTheHeadingMailsEveryOpenDatasetOnce)
{
    for (const int mark : {-1, 0}) {
        SmtpSink sink;
        ASSERT_TRUE(sink.Problem().isEmpty()) << sink.Problem().toStdString();
        UsePort(sink.port());
        Email(mark);
        ASSERT_EQ(ui.Messages().size(), 1u) << ui.Texts().join(" | ").toStdString();
        EXPECT_EQ(ui.Messages()[0].text,
                  QStringLiteral("Reminders mailed: 2 of 2.\n\nMailed:\nbob@lab.example (O'Neil Study, IRB D'Arcy 12)\n"
                                 "alice@lab.example (Hearing A, IRB 2010-001)"));
        EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Information);
        ui.ClearMessages();
        EXPECT_TRUE(TakeErrors().empty());
        // O'Neil Study was requested by bob and carol: bob, the first, only. Balance B's
        // requester has no pers row: nothing. Closed C: no mail.
        ASSERT_EQ(sink.MessageCount(), 2) << "mark " << mark;
        EXPECT_EQ(Recipients(sink), (QStringList{"bob@lab.example", "alice@lab.example"}));
    }
}

TEST_F(DatasetMailTest, WhatArrivesForOneSelectedRow)
{
    SmtpSink sink;
    ASSERT_TRUE(sink.Problem().isEmpty()) << sink.Problem().toStdString();
    UsePort(sink.port());
    Email(RowOf(QStringLiteral("O'Neil Study")));
    ASSERT_EQ(sink.MessageCount(), 1);
    const QJsonObject m = sink.Message(1);
    EXPECT_EQ(m["mail_from"].toString(), QStringLiteral("registry@lab.example"));
    EXPECT_EQ(Strings(m["rcpt_tos"]), QStringList{QStringLiteral("bob@lab.example")});
    EXPECT_TRUE(m["to"].toString().contains(QStringLiteral("bob@lab.example")));
    EXPECT_EQ(m["subject"].toString(), QStringLiteral("Velmar Open Dataset"));
    EXPECT_EQ(Body(m), kBodyOf.arg(QStringLiteral("O'Neil Study"), QStringLiteral("D'Arcy 12")));
    EXPECT_TRUE(QString::fromUtf8(Field64(m, "raw")).contains(QStringLiteral("From: registry@lab.example")));
    // Call logs of the other rows are left alone.
    EXPECT_EQ(CallsOf(QStringLiteral("Closed C"), QStringLiteral("2011-007")), 2);
    EXPECT_EQ(ui.Texts().size(), 1);
}

TEST_F(DatasetMailTest, AClosedRowLosesItsCallLogAndSendsNothing)
{
    SmtpSink sink;
    ASSERT_TRUE(sink.Problem().isEmpty()) << sink.Problem().toStdString();
    UsePort(sink.port());
    Email(RowOf(QStringLiteral("Closed C")));
    EXPECT_EQ(CallsOf(QStringLiteral("Closed C"), QStringLiteral("2011-007")), 0);
    EXPECT_EQ(CallsOf(QStringLiteral("Hearing A"), QStringLiteral("2010-001")), 1);
    EXPECT_EQ(CallsOf(QStringLiteral("O'Neil Study"), QStringLiteral("D'Arcy 12")), 1);
    EXPECT_TRUE(ui.Texts().isEmpty());
    EXPECT_EQ(sink.MessageCount(), 0);
}

TEST_F(DatasetMailTest, ARowWithoutStaffGivesNoMailAndNoBox)
{
    SmtpSink sink;
    ASSERT_TRUE(sink.Problem().isEmpty()) << sink.Problem().toStdString();
    UsePort(sink.port());
    Email(RowOf(QStringLiteral("Balance B")));
    EXPECT_EQ(sink.MessageCount(), 0);
    EXPECT_TRUE(ui.Texts().isEmpty());
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
    UsePort(closedPort);
    Email(-1);
    ASSERT_EQ(ui.Messages().size(), 1u) << "one closing message, not a box per step";
    EXPECT_EQ(ui.Messages()[0].text,
              QStringLiteral("Reminders mailed: 0 of 2.\n\nNot sent:\n"
                             "bob@lab.example (O'Neil Study, IRB D'Arcy 12): Unable to connect to server\n"
                             "alice@lab.example (Hearing A, IRB 2010-001): Unable to connect to server"));
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(CallsOf(QStringLiteral("Closed C"), QStringLiteral("2011-007")), 0);
}

TEST_F(DatasetMailTest, ARelayThatNeverAnswersTimesOutWithinTheSetting)
{
    QTcpServer silent; // accepts connections and never says a word
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    UsePort(silent.serverPort());
    WriteMailSetting(false, QStringLiteral("TimeoutSeconds"), 1);
    QElapsedTimer clock;
    clock.start();
    Email(RowOf(QStringLiteral("Hearing A")));
    EXPECT_LT(clock.elapsed(), 15000) << "the one-second time-out, not the default 30";
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Reminders mailed: 0 of 1.\n\nNot sent:\n"
                                                     "alice@lab.example (Hearing A, IRB 2010-001): Server didn't respond.")});
}

// A relay that stalls, cancelled from another thread while the run waits for it: the
// connection closes at once and the run ends. Stalled at a recipient, nothing went out;
// stalled after the message's end, it may have been delivered. Later reminders are not
// sent either way.
TEST_F(DatasetMailTest, CancellingAStalledRelayEndsTheRunAtOnce)
{
    struct Case {
        const char* stall;
        ReminderOutcome::Kind first;
        int received;
    };
    for (const Case c : {Case{"rcpt", ReminderOutcome::Kind::NotSent, 0}, Case{"data", ReminderOutcome::Kind::MaybeSent, 1}}) {
        SCOPED_TRACE(c.stall);
        SmtpSink sink(QString::fromLatin1(c.stall));
        ASSERT_TRUE(sink.Problem().isEmpty()) << sink.Problem().toStdString();
        MailSettings settings = ReadMailSettings();
        settings.smtpPort = sink.port();
        settings.timeoutSeconds = 600; // only Cancel can end the wait within the test
        DatasetReminderRun run(settings, {{QStringLiteral("Hearing A"), QStringLiteral("2010-001"), QStringLiteral("alice")},
                                          {QStringLiteral("O'Neil Study"), QStringLiteral("D'Arcy 12"), QStringLiteral("bob")}});
        EXPECT_EQ(run.ProgressTotal(), 2);
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
        if (stalled) {
            EXPECT_EQ(run.ProgressStep(), 0);
            EXPECT_EQ(run.ProgressText(), QStringLiteral("Sending reminder for dataset 1 of 2: Hearing A"));
        }
        QElapsedTimer cancelled;
        cancelled.start();
        run.Cancel();
        worker.join();
        ASSERT_TRUE(stalled) << "the relay never held the run: " << run.Summary().toStdString();
        EXPECT_LT(cancelled.elapsed(), 5000) << "the stalled wait ends with Cancel";
        ASSERT_EQ(run.Outcomes().size(), 2u);
        EXPECT_EQ(run.Outcomes()[0].kind, c.first);
        EXPECT_EQ(run.Outcomes()[0].reason, QStringLiteral("Cancelled"));
        EXPECT_EQ(run.Outcomes()[1].kind, ReminderOutcome::Kind::NotSent);
        EXPECT_EQ(run.Outcomes()[1].reason, QStringLiteral("Cancelled"));
        EXPECT_EQ(sink.MessageCount(), c.received);
        EXPECT_EQ(sink.StallCount(), 1) << "the second reminder never reached the relay";
        const QString summary = run.Summary();
        EXPECT_TRUE(summary.startsWith(QStringLiteral("Reminders mailed: 0 of 2.")));
        EXPECT_TRUE(summary.contains(QStringLiteral("bob@lab.example (O'Neil Study, IRB D'Arcy 12): Cancelled")));
        EXPECT_EQ(summary.contains(QStringLiteral("May have been sent")), c.first == ReminderOutcome::Kind::MaybeSent);
    }
}

// The settings: read at each call, the user's value over the system's, else defaults.
TEST_F(DatasetTest, MailSettingsSystemUserAndDefaults)
{
    MailSettings mail = ReadMailSettings();
    EXPECT_EQ(mail.smtpServer, QStringLiteral("localhost"));
    EXPECT_EQ(mail.smtpPort, 25);
    EXPECT_EQ(mail.domain, QStringLiteral("localhost"));
    EXPECT_EQ(mail.sender, QStringLiteral("quorin-admin@localhost"));
    EXPECT_EQ(mail.timeoutSeconds, 30);

    WriteMailSetting(true, QStringLiteral("SmtpServer"), QStringLiteral("relay.site.example"));
    WriteMailSetting(true, QStringLiteral("Domain"), QStringLiteral("site.example"));
    WriteMailSetting(true, QStringLiteral("SmtpPort"), 2525);
    mail = ReadMailSettings();
    EXPECT_EQ(mail.smtpServer, QStringLiteral("relay.site.example"));
    EXPECT_EQ(mail.domain, QStringLiteral("site.example"));
    EXPECT_EQ(mail.smtpPort, 2525);

    WriteMailSetting(false, QStringLiteral("SmtpServer"), QStringLiteral("relay.desk.example"));
    WriteMailSetting(false, QStringLiteral("Sender"), QStringLiteral("me@desk.example"));
    mail = ReadMailSettings();
    EXPECT_EQ(mail.smtpServer, QStringLiteral("relay.desk.example")) << "the user's value wins";
    EXPECT_EQ(mail.sender, QStringLiteral("me@desk.example"));
    EXPECT_EQ(mail.domain, QStringLiteral("site.example")) << "keys the user has not set come from the system";

    for (const QString& bad : {QStringLiteral("abc"), QStringLiteral("0"), QStringLiteral("-25"), QStringLiteral("70000"),
                               QStringLiteral("2.5")}) {
        WriteMailSetting(false, QStringLiteral("SmtpPort"), bad);
        WriteMailSetting(false, QStringLiteral("TimeoutSeconds"), bad);
        mail = ReadMailSettings();
        EXPECT_EQ(mail.smtpPort, 25) << bad.toStdString();
        EXPECT_EQ(mail.timeoutSeconds, 30) << bad.toStdString();
    }
    WriteMailSetting(false, QStringLiteral("TimeoutSeconds"), 5);
    EXPECT_EQ(ReadMailSettings().timeoutSeconds, 5);
}

} // namespace
} // namespace quorin::test
