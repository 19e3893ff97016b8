// The reports against the demo registry's raw tables: which subjects each Consent
// query, the letters-out list and the Contact list must hold, and each Letters count for
// two ranges, worked out here from what plain SQLite reads, must equal what the reports
// show. And the Consent and Participation printouts of the demo registry, with its
// longest address and race name, laid out in the printer's fonts without a text over
// another; their first pages are kept as pictures beside the test binary.

#include "ConsentFixture.h"

#include "ReadBack.h"
#include "database/demo/DemoLists.h"
#include "database/demo/DemoRegistry.h"
#include "document/CMemoryReportList.h"
#include "reports/query/ConsentReport.h"
#include "reports/query/ContactReport.h"
#include "reports/query/LettersReport.h"
#include "reports/query/ParticipationReport.h"
#include "reports/query/PrintLayout.h"
#include "reports/ui/PrintList.h"
#include "reports/query/ReportFill.h"
#include "support/RawRegistry.h"

#include <QPrinter>
#include <QRect>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <tuple>

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
    // One row a subject: one matched by both queries keeps its renewal row. The demo
    // registry has such subjects.
    std::multiset<int> adultOnly;
    for (const int id : adult)
        if (!renewal.count(id))
            adultOnly.insert(id);
    ASSERT_LT(adultOnly.size(), adult.size()) << "subjects matched by both queries";
    EXPECT_EQ(shownRenewal, renewal);
    EXPECT_EQ(shownAdult, adultOnly);
    EXPECT_EQ(size_t(list.GetItemCount()), renewal.size() + adultOnly.size());
    EXPECT_EQ(rows.size(), size_t(list.GetItemCount()));
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

template <class List> QString Longest(const List& texts)
{
    QString longest;
    for (const auto& text : texts) {
        const QString t = QString::fromUtf8(text.data(), qsizetype(text.size()));
        if (t.size() > longest.size())
            longest = t;
    }
    return longest;
}

// The boxes the texts of a page take in the printer's fonts; no two may meet.
void ExpectNothingOverprinted(const CPrintLayout& layout, const PrinterFonts& fonts, const char* report)
{
    for (int page = 0; page < layout.PageCount(); ++page) {
        std::vector<std::pair<QRect, QString>> boxes;
        for (const PrintText& text : layout.PageTexts(page)) {
            if (text.text.isEmpty())
                continue;
            const int height = text.font == PrintText::Title  ? layout.TitleFontHeight()
                               : text.font == PrintText::Date ? layout.DesignedTextHeight()
                                                              : layout.TextFontHeight();
            const int width = fonts.TextWidth(text.font, height, text.text);
            const int x = text.centred ? text.x - width / 2 : text.x;
            boxes.push_back({QRect(x, text.y, width, height), text.text});
        }
        for (size_t i = 0; i < boxes.size(); ++i)
            for (size_t k = i + 1; k < boxes.size(); ++k)
                EXPECT_FALSE(boxes[i].first.intersects(boxes[k].first))
                    << report << " page " << page + 1 << ": \"" << boxes[i].second.toStdString() << "\" and \""
                    << boxes[k].second.toStdString() << "\"";
    }
}

TEST_F(DemoCountsTest, ConsentAndParticipationPrintWithoutOverprinting)
{
    const QString address = QStringLiteral("9999 %1 %2, %3  53990")
                                .arg(Longest(demo::lists::kStreets), Longest(demo::lists::kCities),
                                     Longest(demo::lists::kStates));
    const QString race = Longest(demo::lists::kRaces);

    CMemoryReportList consent;
    for (const auto& [heading, width] : ConsentColumns())
        consent.InsertColumn(consent.GetColumnCount(), heading, CReportList::FormatLeft, width);
    std::vector<ConsentRow> rows;
    ASSERT_TRUE(FillReport(*doc, consent, [&](CReportQuery& q, CReportList& l) { BuildConsentList(q, l, rows); }));
    ASSERT_GT(consent.GetItemCount(), 35);
    consent.SetItemText(1, 3, address);

    CMemoryReportList participation;
    for (int column = 0; column < 3; ++column)
        participation.InsertColumn(column, QString());
    ASSERT_TRUE(FillReport(*doc, participation, [](CReportQuery& q, CReportList& l) {
        BuildParticipationList(q, l, QStringLiteral("1/1/1901"), QStringLiteral("6/15/2026"));
    }));
    int raceRow = -1;
    for (int row = 0; row < participation.GetItemCount() && raceRow < 0; ++row)
        if (participation.GetItemText(row, 0) == QLatin1String("by Race"))
            raceRow = row + 1;
    ASSERT_GT(raceRow, 0);
    participation.SetItemText(raceRow, 1, race);

    QTemporaryDir dir;
    for (const auto& [title, list, picture] :
         {std::tuple{QStringLiteral("Consent List"), &consent, "consent-demo-page1"},
          std::tuple{QStringLiteral("Participation"), &participation, "participation-demo-page1"}}) {
        const QString pdf = dir.filePath(QString::fromLatin1(picture) + QStringLiteral(".pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageOrientation(QPageLayout::Landscape);
        const PrinterFonts fonts(&printer);
        const CPrintLayout layout(title, QStringLiteral("6/15/2026"), *list, printer.width(), printer.height(), fonts);
        ExpectNothingOverprinted(layout, fonts, picture);
        const QString shown = title == QLatin1String("Participation") ? race : address;
        bool whole = false;
        for (const PrintText& text : layout.PageTexts(0))
            whole = whole || text.text == shown;
        EXPECT_TRUE(whole) << picture << ": \"" << shown.toStdString() << "\" printed whole";

        ASSERT_TRUE(PrintListTo(*doc, printer, title, *list));
        RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("80"),
                                         QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                         QStringLiteral("1"), QStringLiteral("-singlefile"), pdf,
                                         QStringLiteral(QUORIN_OUTPUT_DIR "/") + QString::fromLatin1(picture)});
    }
    EXPECT_TRUE(TakeErrors().empty());
}

} // namespace
} // namespace quorin::test
