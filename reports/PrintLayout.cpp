#include "reports/PrintLayout.h"

#include "reports/CReportList.h"

#include <algorithm>

namespace quorin {

namespace {
// The first limit characters, without splitting a character made of two code units.
QString Cut(const QString& text, int limit)
{
    if (text.size() <= limit)
        return text;
    int n = limit;
    if (n > 0 && text.at(n - 1).isHighSurrogate())
        --n;
    return text.left(n);
}
} // namespace

CPrintLayout::CPrintLayout(const QString& title, const QString& today, const CReportList& list, double width,
                           double height)
    : m_list(list), m_title(title), m_today(today), m_width(width), m_height(height)
{
    m_columns = list.GetColumnCount();
    m_left = 0.04 * width;
    m_step = (title == QLatin1String("Demographics") ? 0.11 : 0.15) * width;
    // A list too wide for the paper (the last column starting at or past the right edge)
    // shares the width out evenly instead of losing its last columns.
    if (m_columns > 0 && m_left + (m_columns - 1) * m_step >= width)
        m_step = (width - m_left) / m_columns;
    const bool participation = title == QLatin1String("Participation");
    m_bodyTop = (participation ? 0.30 : 0.14) * height;
    m_cellLimit = participation ? 40 : 25;
    const int bodyRows = std::max(list.GetItemCount() - 1, 0);
    m_pageCount = std::max(1, (bodyRows + kLinesPerPage - 1) / kLinesPerPage);
}

std::vector<PrintText> CPrintLayout::PageTexts(int page) const
{
    std::vector<PrintText> texts;
    if (page < 0 || page >= m_pageCount)
        return texts;
    texts.push_back({PrintText::Title, true, int(0.5 * m_width), int(0.04 * m_height), m_title});
    texts.push_back({PrintText::Date, true, int(0.5 * m_width), int(0.08 * m_height), m_today});
    // The heading row is printed whole.
    for (int j = 0; j < m_columns; ++j)
        texts.push_back({PrintText::Heading, false, int(m_left + j * m_step), int(0.12 * m_height),
                         m_list.GetItemText(0, j)});
    const int first = 1 + page * kLinesPerPage;
    const int last = std::min(m_list.GetItemCount() - 1, first + kLinesPerPage - 1);
    for (int r = first; r <= last; ++r) {
        const int k = r - first;
        const int y = int(m_bodyTop + k * 0.02 * m_height);
        for (int j = 0; j < m_columns; ++j)
            texts.push_back({PrintText::Body, false, int(m_left + j * m_step), y,
                             Cut(m_list.GetItemText(r, j), m_cellLimit)});
    }
    return texts;
}

PrintRule CPrintLayout::Rule() const
{
    return {int(m_left), int(0.14 * m_height), int(m_width), int(0.138 * m_height)};
}

} // namespace quorin
