// The printed pages as laid out before any drawing: 35 body lines a page under a page
// header with the heading row, cells cut to their limit, the Demographics and
// Participation variations, and wide lists kept on the paper.

#include "reports/CMemoryReportList.h"
#include "reports/PrintLayout.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quorin::test {
namespace {

// A landscape letter page at 600 dpi, printable area.
constexpr double H = 6360;
constexpr double V = 4860;

CMemoryReportList MakeList(int columns, int bodyRows, const QString& cell = QString())
{
    CMemoryReportList list;
    for (int j = 0; j < columns; ++j)
        list.InsertColumn(j, QString(), CReportList::FormatLeft, 80);
    QStringList heading;
    for (int j = 0; j < columns; ++j)
        heading << QStringLiteral("HEAD%1").arg(j);
    list.AppendRow(heading);
    for (int r = 1; r <= bodyRows; ++r) {
        QStringList row;
        for (int j = 0; j < columns; ++j)
            row << (cell.isEmpty() ? QStringLiteral("r%1c%2").arg(r).arg(j) : cell);
        list.AppendRow(row);
    }
    return list;
}

std::vector<PrintText> OfFont(const std::vector<PrintText>& texts, PrintText::Font font)
{
    std::vector<PrintText> out;
    std::copy_if(texts.begin(), texts.end(), std::back_inserter(out),
                 [font](const PrintText& t) { return t.font == font; });
    return out;
}

TEST(PrintLayoutTest, ThirtyFiveBodyLinesAPageEachUnderItsHeader)
{
    const CMemoryReportList list = MakeList(2, 36);
    const CPrintLayout layout(QStringLiteral("Datasets"), QStringLiteral("6/15/2026"), list, H, V);
    ASSERT_EQ(layout.PageCount(), 2);
    for (int page = 0; page < 2; ++page) {
        const auto texts = layout.PageTexts(page);
        const auto title = OfFont(texts, PrintText::Title);
        const auto date = OfFont(texts, PrintText::Date);
        const auto heading = OfFont(texts, PrintText::Heading);
        ASSERT_EQ(title.size(), 1u);
        EXPECT_EQ(title[0].text, QStringLiteral("Datasets"));
        EXPECT_TRUE(title[0].centred);
        EXPECT_EQ(title[0].x, int(0.5 * H));
        EXPECT_EQ(title[0].y, int(0.04 * V));
        ASSERT_EQ(date.size(), 1u);
        EXPECT_EQ(date[0].text, QStringLiteral("6/15/2026"));
        EXPECT_EQ(date[0].y, int(0.08 * V));
        ASSERT_EQ(heading.size(), 2u) << "row 0 heads every page";
        EXPECT_EQ(heading[1].text, QStringLiteral("HEAD1"));
        EXPECT_FALSE(heading[1].centred);
        EXPECT_EQ(heading[1].x, int(0.04 * H + 0.15 * H));
        EXPECT_EQ(heading[1].y, int(0.12 * V));
    }
    const auto first = OfFont(layout.PageTexts(0), PrintText::Body);
    const auto second = OfFont(layout.PageTexts(1), PrintText::Body);
    ASSERT_EQ(first.size(), 35u * 2);
    ASSERT_EQ(second.size(), 1u * 2);
    EXPECT_EQ(first.front().text, QStringLiteral("r1c0"));
    EXPECT_EQ(first.front().y, int(0.14 * V));
    EXPECT_EQ(first.back().text, QStringLiteral("r35c1"));
    EXPECT_EQ(first.back().y, int(0.14 * V + 34 * 0.02 * V));
    EXPECT_EQ(second.front().text, QStringLiteral("r36c0"));
    EXPECT_EQ(second.front().y, int(0.14 * V)) << "a new page starts at the top again";

    const PrintRule rule = layout.Rule();
    EXPECT_EQ(rule.x1, int(0.04 * H));
    EXPECT_EQ(rule.y1, int(0.14 * V));
    EXPECT_EQ(rule.x2, int(H));
    EXPECT_EQ(rule.y2, int(0.138 * V));
    EXPECT_EQ(layout.TitleFontHeight(), int(V * 0.04));
    EXPECT_EQ(layout.TextFontHeight(), int(V * 0.02));
    EXPECT_EQ(layout.PenWidth(), int(V * 0.001));
}

TEST(PrintLayoutTest, PageCountsAtTheEdges)
{
    struct Case {
        int bodyRows;
        int pages;
    };
    // No page holds only a header: 35 rows are one page, 70 are two.
    for (const Case c : {Case{35, 1}, Case{34, 1}, Case{70, 2}, Case{71, 3}, Case{0, 1}}) {
        const CMemoryReportList list = MakeList(1, c.bodyRows);
        const CPrintLayout layout(QStringLiteral("Letters"), QStringLiteral("1/2/2026"), list, H, V);
        EXPECT_EQ(layout.PageCount(), c.pages) << c.bodyRows << " body rows";
        EXPECT_EQ(OfFont(layout.PageTexts(c.pages - 1), PrintText::Body).size(),
                  size_t(c.bodyRows == 0 ? 0 : c.bodyRows - (c.pages - 1) * 35));
    }
    // A list without any row still prints its page header, with empty heading cells.
    CMemoryReportList empty;
    empty.InsertColumn(0, QStringLiteral("unused heading"));
    const CPrintLayout layout(QStringLiteral("Feedback"), QStringLiteral("1/2/2026"), empty, H, V);
    ASSERT_EQ(layout.PageCount(), 1);
    const auto texts = layout.PageTexts(0);
    ASSERT_EQ(OfFont(texts, PrintText::Title).size(), 1u);
    ASSERT_EQ(OfFont(texts, PrintText::Heading).size(), 1u);
    EXPECT_EQ(OfFont(texts, PrintText::Heading)[0].text, QString()) << "the column header is not the heading row";
    EXPECT_TRUE(OfFont(texts, PrintText::Body).empty());
    EXPECT_TRUE(layout.PageTexts(1).empty());
}

TEST(PrintLayoutTest, BodyCellsAreCutHeadingCellsAreWhole)
{
    const QString thirty = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123");
    ASSERT_EQ(thirty.size(), 30);
    CMemoryReportList list = MakeList(1, 1, thirty);
    list.SetItemText(0, 0, thirty + thirty);

    const CPrintLayout plain(QStringLiteral("Consent List"), QString(), list, H, V);
    EXPECT_EQ(plain.CellLimit(), 25);
    EXPECT_EQ(OfFont(plain.PageTexts(0), PrintText::Body)[0].text, thirty.left(25));
    EXPECT_EQ(OfFont(plain.PageTexts(0), PrintText::Heading)[0].text, thirty + thirty);

    CMemoryReportList longer = MakeList(1, 1, thirty + thirty);
    const CPrintLayout participation(QStringLiteral("Participation"), QString(), longer, H, V);
    EXPECT_EQ(participation.CellLimit(), 40);
    EXPECT_EQ(OfFont(participation.PageTexts(0), PrintText::Body)[0].text, (thirty + thirty).left(40));

    // A character outside the basic plane is never split in half.
    CMemoryReportList astral = MakeList(1, 1, QString(24, QLatin1Char('x')) + QString::fromUtf8("\xF0\x9D\x84\x9E") + QStringLiteral("yy"));
    const CPrintLayout cut(QStringLiteral("Letters"), QString(), astral, H, V);
    EXPECT_EQ(OfFont(cut.PageTexts(0), PrintText::Body)[0].text, QString(24, QLatin1Char('x')));
}

TEST(PrintLayoutTest, TitlesThatChangeTheLayout)
{
    const CMemoryReportList list = MakeList(6, 2);
    const CPrintLayout demographics(QStringLiteral("Demographics"), QString(), list, H, V);
    EXPECT_DOUBLE_EQ(demographics.ColumnStep(), 0.11 * H);
    EXPECT_EQ(OfFont(demographics.PageTexts(0), PrintText::Body)[5].x, int(0.04 * H + 5 * (0.11 * H)));

    const CPrintLayout participation(QStringLiteral("Participation"), QString(), list, H, V);
    EXPECT_DOUBLE_EQ(participation.BodyTop(), 0.30 * V);
    EXPECT_EQ(OfFont(participation.PageTexts(0), PrintText::Body)[0].y, int(0.30 * V));
    EXPECT_EQ(OfFont(participation.PageTexts(0), PrintText::Heading)[0].y, int(0.12 * V))
        << "the heading line stays where every page has it";

    // Only the exact titles count.
    const CPrintLayout other(QStringLiteral("demographics"), QString(), list, H, V);
    EXPECT_DOUBLE_EQ(other.ColumnStep(), 0.15 * H);
    EXPECT_DOUBLE_EQ(other.BodyTop(), 0.14 * V);
}

TEST(PrintLayoutTest, WideListsStayOnThePaperListsThatFitAreUnchanged)
{
    const CMemoryReportList six = MakeList(6, 1);
    const CPrintLayout fits(QStringLiteral("Consent List"), QString(), six, H, V);
    EXPECT_DOUBLE_EQ(fits.ColumnStep(), 0.15 * H);

    const CMemoryReportList eight = MakeList(8, 1);
    const CPrintLayout wide(QStringLiteral("Consent List"), QString(), eight, H, V);
    EXPECT_DOUBLE_EQ(wide.ColumnStep(), (H - 0.04 * H) / 8);
    const auto body = OfFont(wide.PageTexts(0), PrintText::Body);
    ASSERT_EQ(body.size(), 8u);
    EXPECT_LT(body.back().x, int(H)) << "the eighth column starts on the paper";
    EXPECT_LT(OfFont(wide.PageTexts(0), PrintText::Heading).back().x, int(H));
}

} // namespace
} // namespace quorin::test
