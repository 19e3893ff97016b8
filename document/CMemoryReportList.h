#pragma once
// A report list held in memory: what a builder fills when no window shows it, and what
// the layout, CSV and failure tests read back.

#include "document/CReportList.h"

#include <QStringList>

#include <vector>

class CMemoryReportList : public CReportList {
public:
    int InsertColumn(int column, const QString& heading, Format format = FormatLeft, int width = -1) override;
    int GetColumnCount() const override { return static_cast<int>(m_columns.size()); }
    QString GetColumnHeading(int column) const override;
    int GetColumnWidth(int column) const override;

    int InsertItem(int index, const QString& text) override;
    bool SetItemText(int item, int subItem, const QString& text) override;
    QString GetItemText(int item, int subItem) const override;
    bool SetItemData(int item, std::intptr_t data) override;
    std::intptr_t GetItemData(int item) const override;
    int GetItemCount() const override { return static_cast<int>(m_rows.size()); }
    void DeleteAllItems() override;

    int GetSelectionMark() const override { return m_selectionMark; }
    int SetSelectionMark(int item) override;

    // Appends a row holding the texts, column by column.
    int AppendRow(const QStringList& texts);

private:
    struct Column {
        QString heading;
        Format format = FormatLeft;
        int width = 0;
    };
    struct Row {
        QStringList texts; // one per column, kept as long as the column count
        std::intptr_t data = 0;
    };

    bool IsRow(int item) const { return item >= 0 && item < GetItemCount(); }

    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
    int m_selectionMark = -1;
};
