#pragma once
// A list view in report mode: columns with headings and widths, rows of item texts,
// one number of item data per row, and the selection mark (the row the user last
// selected, -1 for none).

#include <QTreeWidget>

#include <cstdint>
#include <vector>

class CReportListCtrl : public QTreeWidget {
    Q_OBJECT
public:
    enum Format { FormatLeft, FormatRight, FormatCenter };

    explicit CReportListCtrl(QWidget* parent = nullptr);

    int InsertColumn(int column, const QString& heading, Format format = FormatLeft, int width = -1);
    int GetColumnCount() const;
    int GetColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);

    // Inserts a row before index (clamped to the end); returns its index.
    int InsertItem(int index, const QString& text);
    bool SetItemText(int item, int subItem, const QString& text);
    QString GetItemText(int item, int subItem) const;
    bool SetItemData(int item, std::intptr_t data);
    std::intptr_t GetItemData(int item) const;
    int GetItemCount() const;
    bool DeleteItem(int item);
    void DeleteAllItems();

    int GetSelectionMark() const;
    int SetSelectionMark(int item); // returns the previous mark
    // Selects the row (clearing other selections) and makes it the mark.
    void SelectItem(int item);
    // The first selected row, -1 for none.
    int GetFirstSelectedItem() const;

private:
    void OnCurrentChanged();

    int m_selectionMark = -1;
    std::vector<Format> m_formats; // one per column
};
