#include "reports/query/PrintLayout.h"

#include "document/CReportList.h"

#include <algorithm>
#include <cmath>

namespace quorin {

namespace {

const QString kEllipsis = QStringLiteral("\u2026");

// The first n code units, one fewer when the n-th would split a character in two.
QString Prefix(const QString& text, int n)
{
    if (n > 0 && n < text.size() && text.at(n - 1).isHighSurrogate())
        --n;
    return text.left(n);
}

} // namespace

CPrintLayout::CPrintLayout(const QString& title, const QString& today, const CReportList& list, double width,
                           double height, const PrintMeasure& measure)
    : m_list(list), m_measure(measure), m_title(title), m_today(today), m_width(width), m_height(height)
{
    m_columns = list.GetColumnCount();
    m_left = 0.04 * width;
    m_bodyTop = (title == QLatin1String("Participation") ? 0.30 : 0.14) * height;
    const int bodyRows = std::max(list.GetItemCount() - 1, 0);
    m_rowPages = std::max(1, (bodyRows + kLinesPerPage - 1) / kLinesPerPage);

    const int designed = std::max(1, DesignedTextHeight());
    const int smallest = std::max(1, int(designed * kSmallestFont));
    if (Place(designed, false))
        return;
    // Text widths grow with the font's height: start near the height that would fit and
    // step down from there until it does.
    const std::vector<int> widths = NaturalWidths(designed);
    const double available = m_width - 2 * m_left;
    double needed = 0;
    for (const int w : widths)
        needed += std::min(w, int(kWidestColumn * available)) + designed;
    int h = std::clamp(int(designed * available / std::max(needed, 1.0)), smallest, designed - 1);
    for (; h >= smallest; --h) {
        if (Place(h, false))
            return;
    }
    Place(smallest, true);
}

std::vector<int> CPrintLayout::NaturalWidths(int textHeight) const
{
    std::vector<int> widths(static_cast<size_t>(std::max(m_columns, 0)), 0);
    const int rows = m_list.GetItemCount();
    for (int r = 0; r < rows; ++r) {
        const PrintText::Font font = r == 0 ? PrintText::Heading : PrintText::Body;
        for (int j = 0; j < m_columns; ++j) {
            const QString text = m_list.GetItemText(r, j);
            if (!text.isEmpty())
                widths[size_t(j)] = std::max(widths[size_t(j)], m_measure.TextWidth(font, textHeight, text));
        }
    }
    return widths;
}

bool CPrintLayout::Place(int textHeight, bool allowSets)
{
    const std::vector<int> widths = NaturalWidths(textHeight);
    const int left = int(m_left);
    const int right = int(m_width - m_left);
    const int widest = int(kWidestColumn * (right - left));
    const int gap = textHeight;
    std::vector<Column> places;
    int x = left;
    int set = 0;
    for (const int natural : widths) {
        const int w = std::min(natural, widest);
        // A column with nothing to print takes no room.
        if (w == 0) {
            places.push_back({x, 0, set});
            continue;
        }
        if (x > left && x + w > right) {
            if (!allowSets)
                return false;
            ++set;
            x = left;
        }
        places.push_back({x, w, set});
        x += w + gap;
    }
    m_columnPlaces = std::move(places);
    m_sets = set + 1;
    m_textHeight = textHeight;
    return true;
}

QString CPrintLayout::Fitted(PrintText::Font font, const QString& text, int width) const
{
    if (text.isEmpty() || m_measure.TextWidth(font, m_textHeight, text) <= width)
        return text;
    // The longest beginning that fits with the ellipsis after it.
    int low = 0;
    int high = int(text.size()) - 1;
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (m_measure.TextWidth(font, m_textHeight, Prefix(text, mid) + kEllipsis) <= width)
            low = mid;
        else
            high = mid - 1;
    }
    const QString cut = Prefix(text, low) + kEllipsis;
    return m_measure.TextWidth(font, m_textHeight, cut) <= width ? cut : QString();
}

std::vector<PrintText> CPrintLayout::PageTexts(int page) const
{
    std::vector<PrintText> texts;
    if (page < 0 || page >= PageCount())
        return texts;
    const int rowPage = page / m_sets;
    const int set = page % m_sets;
    texts.push_back({PrintText::Title, true, int(0.5 * m_width), int(0.04 * m_height), m_title});
    texts.push_back({PrintText::Date, true, int(0.5 * m_width), int(0.08 * m_height), m_today});
    const auto cells = [&](int row, PrintText::Font font, int y) {
        for (int j = 0; j < m_columns; ++j) {
            const Column& column = m_columnPlaces[size_t(j)];
            if (column.set == set)
                texts.push_back({font, false, column.x, y, Fitted(font, m_list.GetItemText(row, j), column.width)});
        }
    };
    cells(0, PrintText::Heading, int(0.12 * m_height));
    const int first = 1 + rowPage * kLinesPerPage;
    const int last = std::min(m_list.GetItemCount() - 1, first + kLinesPerPage - 1);
    for (int r = first; r <= last; ++r)
        cells(r, PrintText::Body, int(m_bodyTop + (r - first) * 0.02 * m_height));
    return texts;
}

PrintRule CPrintLayout::Rule() const
{
    return {int(m_left), int(0.14 * m_height), int(m_width), int(0.138 * m_height)};
}

} // namespace quorin
