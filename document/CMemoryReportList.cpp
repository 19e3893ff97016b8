#include "document/CMemoryReportList.h"

#include <algorithm>

int CMemoryReportList::InsertColumn(int column, const QString& heading, Format format, int width)
{
    column = std::clamp(column, 0, GetColumnCount());
    m_columns.insert(m_columns.begin() + column, Column{heading, format, std::max(width, 0)});
    // Existing rows move their texts one column to the right of the new one.
    for (Row& row : m_rows)
        row.texts.insert(column, QString());
    return column;
}

QString CMemoryReportList::GetColumnHeading(int column) const
{
    return column >= 0 && column < GetColumnCount() ? m_columns[column].heading : QString();
}

int CMemoryReportList::GetColumnWidth(int column) const
{
    return column >= 0 && column < GetColumnCount() ? m_columns[column].width : 0;
}

int CMemoryReportList::InsertItem(int index, const QString& text)
{
    index = std::clamp(index, 0, GetItemCount());
    Row row;
    for (int i = 0; i < std::max(GetColumnCount(), 1); ++i)
        row.texts << QString();
    row.texts[0] = text;
    m_rows.insert(m_rows.begin() + index, std::move(row));
    if (m_selectionMark >= index)
        ++m_selectionMark;
    return index;
}

bool CMemoryReportList::SetItemText(int item, int subItem, const QString& text)
{
    if (!IsRow(item) || subItem < 0 || subItem >= m_rows[item].texts.size())
        return false;
    m_rows[item].texts[subItem] = text;
    return true;
}

QString CMemoryReportList::GetItemText(int item, int subItem) const
{
    if (!IsRow(item) || subItem < 0 || subItem >= m_rows[item].texts.size())
        return QString();
    return m_rows[item].texts[subItem];
}

bool CMemoryReportList::SetItemData(int item, std::intptr_t data)
{
    if (!IsRow(item))
        return false;
    m_rows[item].data = data;
    return true;
}

std::intptr_t CMemoryReportList::GetItemData(int item) const
{
    return IsRow(item) ? m_rows[item].data : 0;
}

void CMemoryReportList::DeleteAllItems()
{
    m_rows.clear();
    m_selectionMark = -1;
}

int CMemoryReportList::SetSelectionMark(int item)
{
    const int previous = m_selectionMark;
    m_selectionMark = IsRow(item) ? item : -1;
    return previous;
}

int CMemoryReportList::AppendRow(const QStringList& texts)
{
    const int row = AppendItem(texts.value(0));
    for (int column = 1; column < texts.size(); ++column)
        SetItemText(row, column, texts[column]);
    return row;
}
