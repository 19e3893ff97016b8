// The printed pages as laid out before any drawing: 35 body lines a page under a page
// header with the heading row; columns as wide as their widest text, cut with an
// ellipsis past their share of the line, fonts shrunk and then page sets when the line
// cannot hold them all. Widths come from a measure of half a text height per character,
// so every expected place can be worked out by hand.

#include "document/CMemoryReportList.h"
#include "reports/query/PrintLayout.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quorin::test {
namespace {

// A landscape letter page at 600 dpi, printable area.
constexpr double H = 6360;
constexpr double V = 4860;

class HalfHeightPerCharacter : public PrintMeasure {
public:
    int TextWidth(PrintText::Font, int height, const QString& text) const override
    {
        return int(text.size()) * height / 2;
    }
};
const HalfHeightPerCharacter kMeasure;

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

// Every heading and body text of every page starts and ends inside the line and ends
// before the next text of its line begins.
void ExpectNoTextRunsIntoAnother(const CPrintLayout& layout)
{
    const int left = int(layout.LeftMargin());
    const int right = int(H - layout.LeftMargin());
    for (int page = 0; page < layout.PageCount(); ++page) {
        std::vector<PrintText> texts = layout.PageTexts(page);
        std::erase_if(texts, [](const PrintText& t) { return t.centred || t.text.isEmpty(); });
        std::sort(texts.begin(), texts.end(), [](const PrintText& a, const PrintText& b) {
            return std::tie(a.y, a.x) < std::tie(b.y, b.x);
        });
        for (size_t i = 0; i < texts.size(); ++i) {
            const int end = texts[i].x + kMeasure.TextWidth(texts[i].font, layout.TextFontHeight(), texts[i].text);
            EXPECT_GE(texts[i].x, left) << texts[i].text.toStdString();
            EXPECT_LE(end, right) << texts[i].text.toStdString() << " on page " << page;
            if (i + 1 < texts.size() && texts[i + 1].y == texts[i].y) {
                EXPECT_LT(end, texts[i + 1].x) << texts[i].text.toStdString() << " runs into "
                                               << texts[i + 1].text.toStdString() << " on page " << page;
            }
        }
    }
}

TEST(PrintLayoutTest, ThirtyFiveBodyLinesAPageEachUnderItsHeader)
{
    const CMemoryReportList list = MakeList(2, 36);
    const CPrintLayout layout(QStringLiteral("Datasets"), QStringLiteral("6/15/2026"), list, H, V, kMeasure);
    ASSERT_EQ(layout.PageCount(), 2);
    ASSERT_EQ(layout.PageSets(), 1);
    const int h = int(V * 0.02);
    EXPECT_EQ(layout.TextFontHeight(), h) << "a list that fits keeps its font";
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
        EXPECT_EQ(heading[0].x, int(0.04 * H));
        EXPECT_EQ(heading[1].text, QStringLiteral("HEAD1"));
        EXPECT_FALSE(heading[1].centred);
        // The first column is as wide as its widest text ("HEAD0", "r36c0": five
        // characters), then a gap of one text height.
        EXPECT_EQ(heading[1].x, int(0.04 * H) + 5 * h / 2 + h);
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
        const CPrintLayout layout(QStringLiteral("Letters"), QStringLiteral("1/2/2026"), list, H, V, kMeasure);
        EXPECT_EQ(layout.PageCount(), c.pages) << c.bodyRows << " body rows";
        EXPECT_EQ(OfFont(layout.PageTexts(c.pages - 1), PrintText::Body).size(),
                  size_t(c.bodyRows == 0 ? 0 : c.bodyRows - (c.pages - 1) * 35));
    }
    // A list without any row still prints its page header, with empty heading cells.
    CMemoryReportList empty;
    empty.InsertColumn(0, QStringLiteral("unused heading"));
    const CPrintLayout layout(QStringLiteral("Feedback"), QStringLiteral("1/2/2026"), empty, H, V, kMeasure);
    ASSERT_EQ(layout.PageCount(), 1);
    const auto texts = layout.PageTexts(0);
    ASSERT_EQ(OfFont(texts, PrintText::Title).size(), 1u);
    ASSERT_EQ(OfFont(texts, PrintText::Heading).size(), 1u);
    EXPECT_EQ(OfFont(texts, PrintText::Heading)[0].text, QString()) << "the column header is not the heading row";
    EXPECT_TRUE(OfFont(texts, PrintText::Body).empty());
    EXPECT_TRUE(layout.PageTexts(1).empty());
}

TEST(PrintLayoutTest, TextsPastTheWidestColumnAreCutWithAnEllipsis)
{
    const QString longText = QString(300, QLatin1Char('x'));
    CMemoryReportList list = MakeList(2, 1, longText);
    list.SetItemText(0, 0, longText);
    list.SetItemText(0, 1, longText);
    // A character outside the basic plane right where the cut falls is never split.
    const QString astral = QString::fromUtf8("\xF0\x9D\x84\x9E");
    list.SetItemText(1, 1, QString(50, QLatin1Char('y')) + astral.repeated(100));

    const CPrintLayout layout(QStringLiteral("Consent List"), QString(), list, H, V, kMeasure);
    EXPECT_EQ(layout.PageSets(), 1);
    const int widest = int(CPrintLayout::kWidestColumn * (H - 2 * int(0.04 * H)));
    for (const PrintText& text : layout.PageTexts(0)) {
        if (text.centred)
            continue;
        EXPECT_TRUE(text.text.endsWith(QStringLiteral("\u2026"))) << "cut, the heading row too";
        EXPECT_LE(kMeasure.TextWidth(text.font, layout.TextFontHeight(), text.text), widest);
        EXPECT_FALSE(text.text.at(text.text.size() - 2).isHighSurrogate());
    }
    ExpectNoTextRunsIntoAnother(layout);

    // Participation keeps its deeper body top; the heading line stays where every page has it.
    const CPrintLayout participation(QStringLiteral("Participation"), QString(), list, H, V, kMeasure);
    EXPECT_EQ(OfFont(participation.PageTexts(0), PrintText::Body)[0].y, int(0.30 * V));
    EXPECT_EQ(OfFont(participation.PageTexts(0), PrintText::Heading)[0].y, int(0.12 * V));
}

TEST(PrintLayoutTest, AListTooWideShrinksItsFontThenGoesOntoPageSets)
{
    const int h = int(V * 0.02);
    const QString thirty = QString(30, QLatin1Char('w'));
    struct Case {
        int columns;
        int sets;
        bool shrunk;
    };
    // Six columns of 30 characters need 6 x (15 + 1) = 96 text heights of a line of
    // 5852 units (61 heights): shrunk, one set. Twelve need twice that even at the
    // smallest font: two page sets.
    for (const Case c : {Case{3, 1, false}, Case{6, 1, true}, Case{12, 2, true}}) {
        SCOPED_TRACE(c.columns);
        const CMemoryReportList list = MakeList(c.columns, 40, thirty);
        const CPrintLayout layout(QStringLiteral("Demographics"), QString(), list, H, V, kMeasure);
        EXPECT_EQ(layout.PageSets(), c.sets);
        EXPECT_EQ(layout.PageCount(), 2 * c.sets) << "two row pages in each set";
        EXPECT_EQ(layout.TextFontHeight() < h, c.shrunk);
        EXPECT_GE(layout.TextFontHeight(), int(h * CPrintLayout::kSmallestFont));
        ExpectNoTextRunsIntoAnother(layout);
        // Every column is printed once on each row page, whole.
        int headings = 0;
        for (int page = 0; page < layout.PageCount(); ++page) {
            for (const PrintText& text : layout.PageTexts(page))
                EXPECT_FALSE(text.text.endsWith(QStringLiteral("\u2026"))) << "nothing cut";
            headings += int(OfFont(layout.PageTexts(page), PrintText::Heading).size());
        }
        EXPECT_EQ(headings, 2 * c.columns);
        // The page sets of one row page follow each other: rows 1 to 35 on each set first.
        EXPECT_EQ(OfFont(layout.PageTexts(c.sets - 1), PrintText::Body).size() % 35, 0u);
    }
}

} // namespace
} // namespace quorin::test
