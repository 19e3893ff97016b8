// The printed pages as laid out before any drawing, measured at half a text height per
// character so that every place can be worked out by hand; and a PDF that cannot be opened.

#include "ReportsFixture.h"

#include "reports/query/PrintLayout.h"
#include "reports/ui/PrintList.h"

#include <QPrinter>

#include <algorithm>
#include <tuple>

namespace quorin::test {
namespace {

// A landscape letter page at 600 dpi, printable area.
constexpr double H = 6360;
constexpr double V = 4860;

class HalfHeightPerCharacter : public PrintMeasure {
public:
    int TextWidth(PrintText::Font, int height, const QString& text) const override { return int(text.size()) * height / 2; }
};
const HalfHeightPerCharacter kMeasure;

// Row 0 the heading row "HEAD0", "HEAD1", ...; the body rows "r1c0", ... or the cell given.
CMemoryReportList MakeList(int columns, int bodyRows, const QString& cell = QString())
{
    CMemoryReportList list = ListWith(columns);
    for (int r = 0; r <= bodyRows; ++r) {
        QStringList row;
        for (int j = 0; j < columns; ++j)
            row << (r == 0 ? QStringLiteral("HEAD%1").arg(j) : cell.isEmpty() ? QStringLiteral("r%1c%2").arg(r).arg(j) : cell);
        list.AppendRow(row);
    }
    return list;
}

std::vector<PrintText> OfFont(std::vector<PrintText> texts, PrintText::Font font)
{
    std::erase_if(texts, [font](const PrintText& t) { return t.font != font; });
    return texts;
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
    // No page holds only a header: 35 rows are one page, 70 are two, none at all is one.
    for (const auto& [bodyRows, pages] :
         {std::pair{0, 1}, std::pair{35, 1}, std::pair{36, 2}, std::pair{70, 2}, std::pair{71, 3}}) {
        const CMemoryReportList list = MakeList(2, bodyRows);
        const CPrintLayout layout(QStringLiteral("Datasets"), QStringLiteral("6/15/2026"), list, H, V, kMeasure);
        ASSERT_EQ(layout.PageCount(), pages) << bodyRows;
        for (int page = 0; page < pages; ++page) {
            const auto texts = layout.PageTexts(page);
            EXPECT_EQ(OfFont(texts, PrintText::Title).size() + OfFont(texts, PrintText::Date).size(), 2u);
            EXPECT_EQ(OfFont(texts, PrintText::Heading).size(), 2u) << "row 0 heads every page";
            EXPECT_EQ(OfFont(texts, PrintText::Body).size(), 2u * size_t(std::min(35, bodyRows - 35 * page)));
        }
        EXPECT_TRUE(layout.PageTexts(pages).empty());
    }
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
    // Six columns of 30 characters need 6 x (15 + 1) = 96 text heights of a line of 5852
    // units (61 heights): shrunk, one set. Twelve need twice that even at the smallest
    // font: two page sets, each with every row, the sets of one row page one after another.
    for (const auto& [columns, sets, shrunk] :
         {std::tuple{3, 1, false}, std::tuple{6, 1, true}, std::tuple{12, 2, true}}) {
        SCOPED_TRACE(columns);
        const CMemoryReportList list = MakeList(columns, 40, QString(30, QLatin1Char('w')));
        const CPrintLayout layout(QStringLiteral("Demographics"), QString(), list, H, V, kMeasure);
        EXPECT_EQ(layout.PageSets(), sets);
        EXPECT_EQ(layout.PageCount(), 2 * sets) << "two row pages in each set";
        EXPECT_EQ(layout.TextFontHeight() < h, shrunk);
        EXPECT_GE(layout.TextFontHeight(), int(h * CPrintLayout::kSmallestFont));
        ExpectNoTextRunsIntoAnother(layout);
        std::size_t headings = 0;
        for (int page = 0; page < layout.PageCount(); ++page) {
            for (const PrintText& text : layout.PageTexts(page))
                EXPECT_FALSE(text.text.endsWith(QStringLiteral("\u2026"))) << "nothing cut";
            headings += OfFont(layout.PageTexts(page), PrintText::Heading).size();
        }
        EXPECT_EQ(headings, 2u * std::size_t(columns)) << "every column on each row page";
        EXPECT_EQ(OfFont(layout.PageTexts(sets - 1), PrintText::Body).size() % 35, 0u);
    }
}

using PrintPdfTest = ReportTest;

TEST_F(PrintPdfTest, AFileThatCannotBeOpenedIsReported)
{
    CMemoryReportList list = MakeList(2, 40);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName("/proc/self/report.pdf"); // not even the superuser creates files there
    EXPECT_FALSE(PrintListTo(*doc, printer, "Datasets", list));
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "Unable to print!");
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(ui.WaitCursorDepth(), 0);
}

} // namespace
} // namespace quorin::test
