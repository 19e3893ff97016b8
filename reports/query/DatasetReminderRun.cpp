#include "reports/query/DatasetReminderRun.h"

#include "mail/CMailItem.h"
#include "mail/CSmtpSession.h"

#include <QStringList>

#include <algorithm>

namespace quorin {

namespace {

const QString kCancelled = QStringLiteral("Cancelled");

QString Describe(const DatasetReminder& reminder, const QString& address)
{
    return QStringLiteral("%1 (%2, IRB %3)").arg(address, reminder.dataset, reminder.irb);
}

} // namespace

DatasetReminderRun::DatasetReminderRun(MailSettings settings, std::vector<DatasetReminder> reminders)
    : m_settings(std::move(settings)), m_reminders(std::move(reminders))
{
}

QString DatasetReminderRun::Address(const DatasetReminder& reminder) const
{
    return reminder.userName + QLatin1Char('@') + m_settings.domain;
}

void DatasetReminderRun::Run()
{
    m_outcomes.clear();
    for (size_t i = 0; i < m_reminders.size(); ++i) {
        m_current = int(i);
        m_outcomes.push_back(m_cancelled ? ReminderOutcome{ReminderOutcome::Kind::NotSent, kCancelled}
                                         : Send(m_reminders[i]));
    }
    m_current = int(m_reminders.size());
}

void DatasetReminderRun::Cancel()
{
    m_cancelled = true;
    const std::lock_guard<std::mutex> lock(m_sessionLock);
    if (m_session)
        m_session->Cancel();
}

QString DatasetReminderRun::ProgressText() const
{
    const int step = std::min(m_current.load(), int(m_reminders.size()) - 1);
    if (step < 0)
        return QString();
    return QStringLiteral("Sending reminder for dataset %1 of %2: %3")
        .arg(QString::number(step + 1), QString::number(m_reminders.size()), m_reminders[size_t(step)].dataset);
}

int DatasetReminderRun::ProgressStep() const
{
    return m_current;
}

int DatasetReminderRun::ProgressTotal() const
{
    return int(m_reminders.size());
}

ReminderOutcome DatasetReminderRun::Send(const DatasetReminder& reminder)
{
    CSmtpSession session(m_settings.smtpServer, static_cast<unsigned int>(m_settings.smtpPort));
    session.SetTimeout(m_settings.timeoutSeconds * 1000);
    {
        const std::lock_guard<std::mutex> lock(m_sessionLock);
        m_session = &session;
        if (m_cancelled)
            session.Cancel();
    }
    ReminderOutcome outcome;
    if (!session.Connect()) {
        outcome = {ReminderOutcome::Kind::NotSent, session.GetLastErrorText()};
    } else {
        CMailItem item;
        item.From = m_settings.sender;
        item.Subject = QStringLiteral("Velmar Open Dataset");
        item.Body = QStringLiteral("This email is to remind you that you have the open dataset %1 under IRB %2 in the "
                                   "Velmar.\nIf you are finished with the dataset, please enter your feedback and close "
                                   "the dataset.\nThank you,\nVelmar Administrator")
                        .arg(reminder.dataset, reminder.irb);
        item.AddMultipleRecipients(Address(reminder));
        if (session.SendMessage(item))
            outcome = {ReminderOutcome::Kind::Sent, QString()};
        else if (session.EndSentUnanswered())
            outcome = {ReminderOutcome::Kind::MaybeSent, session.GetLastErrorText()};
        else
            outcome = {ReminderOutcome::Kind::NotSent, session.GetLastErrorText()};
        // The relay has the message once it said so; a failed goodbye changes nothing.
        session.Disconnect();
    }
    const std::lock_guard<std::mutex> lock(m_sessionLock);
    m_session = nullptr;
    return outcome;
}

QString DatasetReminderRun::Summary() const
{
    QStringList sent, maybe, notSent;
    for (size_t i = 0; i < m_outcomes.size() && i < m_reminders.size(); ++i) {
        const QString who = Describe(m_reminders[i], Address(m_reminders[i]));
        switch (m_outcomes[i].kind) {
        case ReminderOutcome::Kind::Sent: sent << who; break;
        case ReminderOutcome::Kind::MaybeSent: maybe << who + QStringLiteral(": ") + m_outcomes[i].reason; break;
        case ReminderOutcome::Kind::NotSent: notSent << who + QStringLiteral(": ") + m_outcomes[i].reason; break;
        }
    }
    QStringList parts{QStringLiteral("Reminders mailed: %1 of %2.").arg(sent.size()).arg(m_reminders.size())};
    if (!sent.isEmpty())
        parts << QStringLiteral("Mailed:\n") + sent.join(QLatin1Char('\n'));
    if (!maybe.isEmpty())
        parts << QStringLiteral("May have been sent (the message went out, the relay did not confirm it):\n")
                     + maybe.join(QLatin1Char('\n'));
    if (!notSent.isEmpty())
        parts << QStringLiteral("Not sent:\n") + notSent.join(QLatin1Char('\n'));
    return parts.join(QStringLiteral("\n\n"));
}

} // namespace quorin
