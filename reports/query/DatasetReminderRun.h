#pragma once
// The dataset reminders of one Email, sent off the window's thread: one connection to
// the relay per reminder, in order. Cancel closes the connection under way at once;
// that reminder and every later one is not sent, except one whose message had gone out
// whole without the relay's answer, which may have been sent. The closing message
// says who was mailed and who was not, and why.

#include "document/UserInterface.h"
#include "reports/query/MailSettings.h"

#include <QString>

#include <atomic>
#include <mutex>
#include <vector>

class CSmtpSession;

namespace quorin {

struct DatasetReminder {
    QString dataset;
    QString irb;
    QString userName; // the requester's login name, the local part of the address
};

struct ReminderOutcome {
    enum class Kind { Sent, NotSent, MaybeSent };
    Kind kind = Kind::NotSent;
    QString reason; // the relay's or the socket's text; empty when sent
};

class DatasetReminderRun : public BackgroundWork {
public:
    DatasetReminderRun(MailSettings settings, std::vector<DatasetReminder> reminders);

    void Run() override;
    void Cancel() override;
    QString ProgressText() const override;
    int ProgressStep() const override;
    int ProgressTotal() const override;

    // After Run: one outcome per reminder, in order.
    const std::vector<ReminderOutcome>& Outcomes() const { return m_outcomes; }
    QString Address(const DatasetReminder& reminder) const;
    // After Run: the closing message.
    QString Summary() const;

private:
    ReminderOutcome Send(const DatasetReminder& reminder);

    const MailSettings m_settings;
    const std::vector<DatasetReminder> m_reminders;
    std::vector<ReminderOutcome> m_outcomes;
    std::atomic<bool> m_cancelled{false};
    std::atomic<int> m_current{0};
    std::mutex m_sessionLock; // guards m_session between Run's thread and Cancel
    CSmtpSession* m_session = nullptr;
};

} // namespace quorin
