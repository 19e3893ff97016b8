// The reports against the demo registry's raw tables: which subjects each Consent
// query, the letters-out list and the Contact list must hold, and each Letters count for
// two ranges, worked out here from what plain SQLite reads, must equal what the reports
// show.

#include "ConsentFixture.h"

#include "database/demo/DemoRegistry.h"
#include "reports/CMemoryReportList.h"
#include "reports/ConsentReport.h"
#include "reports/ContactReport.h"
#include "reports/LettersReport.h"
#include "reports/ReportFill.h"
#include "support/RawRegistry.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>

namespace quorin::test {
namespace {

const QDate kToday(2026, 6, 15);

std::optional<QDate> DateOf(const std::optional<std::string>& stored)
{
    if (!stored || stored->size() < 10)
        return std::nullopt;
    return QDate::fromString(QString::fromStdString(stored->substr(0, 10)), QStringLiteral("yyyy-MM-dd"));
}

// Month boundaries crossed from one date to the other, as the server counts them.
int Months(const QDate& from, const QDate& to)
{
    return (to.year() - from.year()) * 12 + to.month() - from.month();
}

struct RawSubject {
    int id = 0;
    int status = 0;
    std::optional<QDate> birth, lastConsent, sent, returned;
};

class DemoCountsTest : public ConsentFixture {
protected:
    void SetUp() override
    {
        ConsentFixture::SetUp();
        summary = demo::FillDemoRegistry(registry.Folder(), demo::kDefaultDemoSubjects, demo::kDefaultDemoSeed);
        RawRegistry raw(registry.Folder());
        for (const auto& row : raw.rows("SELECT SubjectId, Status, Birthdate, LastDateofConsent, Sent, Returned "
                                        "FROM subjects")) {
            RawSubject s;
            s.id = std::stoi(*row[0]);
            s.status = std::stoi(*row[1]);
            s.birth = DateOf(row[2]);
            s.lastConsent = DateOf(row[3]);
            s.sent = DateOf(row[4]);
            s.returned = DateOf(row[5]);
            subjects.push_back(s);
        }
        for (const auto& row : raw.rows("SELECT SubjectId, Date1, Participate, Contacted FROM participationhistory")) {
            const int id = std::stoi(*row[0]);
            const std::optional<QDate> date1 = DateOf(row[1]);
            const int participate = std::stoi(*row[2]);
            const int contacted = std::stoi(*row[3]);
            if (date1 && Months(*date1, kToday) <= 24 && (participate == 0 || contacted == 0))
                recentlyReached.insert(id);
            if (contacted == 1)
                ++notContacted;
        }
    }

    static std::multiset<int> Ids(const CReportList& list, int from = 0)
    {
        std::multiset<int> ids;
        for (int row = from; row < list.GetItemCount(); ++row)
            ids.insert(list.GetItemText(row, 0).toInt());
        return ids;
    }

    demo::DemoSummary summary;
    std::vector<RawSubject> subjects;
    std::set<int> recentlyReached;
    int notContacted = 0;
};

TEST_F(DemoCountsTest, ConsentNotReturnedAndContactListsHoldWhatTheTablesSay)
{
    const QDate notBack(1901, 1, 1);
    std::multiset<int> renewal, adult, notReturned;
    for (const RawSubject& s : subjects) {
        // A comparison with no date is unknown, so never true.
        const bool returnedOther = s.returned && *s.returned != notBack;
        if (s.status == 0 && returnedOther && s.lastConsent && Months(*s.lastConsent, kToday) > 24 &&
            !recentlyReached.count(s.id))
            renewal.insert(s.id);
        if (s.status == 0 && returnedOther && s.birth && s.lastConsent && s.birth->daysTo(kToday) >= 19 * 365.25 &&
            s.birth->daysTo(*s.lastConsent) < 19 * 365.25)
            adult.insert(s.id);
        if (s.status == 0 && s.returned && *s.returned == notBack)
            notReturned.insert(s.id);
    }
    ASSERT_FALSE(renewal.empty());
    ASSERT_FALSE(adult.empty());
    ASSERT_FALSE(notReturned.empty());

    CMemoryReportList list;
    for (int c = 0; c < 8; ++c)
        list.InsertColumn(c, QString());
    std::vector<ConsentRow> rows;
    ASSERT_TRUE(FillReport(*doc, list, [&](CReportQuery& q, CReportList& l) { BuildConsentList(q, l, rows); }));
    std::multiset<int> shownRenewal, shownAdult;
    for (int row = 0; row < list.GetItemCount(); ++row)
        (list.GetItemText(row, 5).isEmpty() ? shownRenewal : shownAdult).insert(list.GetItemText(row, 0).toInt());
    EXPECT_EQ(shownRenewal, renewal);
    EXPECT_EQ(shownAdult, adult);
    // Query 1's rows come first, then query 2's.
    EXPECT_EQ(list.GetItemText(static_cast<int>(renewal.size()), 5), QStringLiteral("19"));

    ASSERT_TRUE(FillReport(*doc, list, [&](CReportQuery& q, CReportList& l) { BuildNotReturnedList(q, l, rows); }));
    EXPECT_EQ(Ids(list), notReturned);

    CMemoryReportList contact;
    ASSERT_TRUE(FillReport(*doc, contact, BuildContactList));
    EXPECT_EQ(contact.GetItemCount() - 1, notContacted);
    EXPECT_EQ(contact.GetItemCount() - 1, summary.notContacted);
    EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(DemoCountsTest, LettersCountsForTwoRanges)
{
    struct Range {
        QDate from, to;
        QString typedFrom, typedTo;
    };
    const std::vector<Range> ranges = {
        {QDate(2000, 1, 1), kToday, QStringLiteral("1/1/2000"), QStringLiteral("6/15/2026")},
        {QDate(2022, 1, 1), QDate(2023, 6, 30), QStringLiteral("1/1/2022"), QStringLiteral("6/30/2023")},
    };
    for (const Range& range : ranges) {
        auto within = [&](const std::optional<QDate>& d) { return d && *d >= range.from && *d <= range.to; };
        int sent = 0, returned = 0, active = 0, withdrawn = 0, noResponse = 0;
        for (const RawSubject& s : subjects) {
            if (within(s.sent)) {
                ++sent;
                if (s.returned && *s.returned > range.from)
                    ++returned;
                if (s.returned && *s.returned < range.from)
                    ++noResponse;
            }
            if (within(s.returned) && s.status == 0)
                ++active;
            if (within(s.returned) && s.status == 1)
                ++withdrawn;
        }
        CMemoryReportList list;
        for (int c = 0; c < 4; ++c)
            list.InsertColumn(c, QString());
        ASSERT_TRUE(FillReport(*doc, list, [&](CReportQuery& q, CReportList& l) {
            BuildLettersList(q, l, range.typedFrom, range.typedTo);
        }));
        QStringList counts;
        for (int row = 0; row < list.GetItemCount(); ++row)
            counts << list.GetItemText(row, 2);
        EXPECT_EQ(counts, (QStringList{QString::number(sent), QString::number(returned), QString::number(active),
                                       QString::number(withdrawn), QString::number(noResponse)}))
            << range.typedFrom.toStdString();
        if (range.from == QDate(2000, 1, 1)) {
            EXPECT_EQ(sent, summary.lettersSent);
        }
        EXPECT_EQ(list.GetItemText(0, 3),
                  QString::asprintf("%.02f %%", 100.0 * sent / static_cast<double>(subjects.size())));
    }
    EXPECT_TRUE(TakeErrors().empty());
}

} // namespace
} // namespace quorin::test
