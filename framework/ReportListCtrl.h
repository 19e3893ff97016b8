#pragma once
// A list view in report mode: columns with headings and widths, rows of item texts,
// one number of item data per row, and the selection mark (the row the user last
// selected, -1 for none). Reports fill it through their list interface.

#include "document/CReportList.h"

#include <QTreeWidget>

#include <cstdint>
#include <vector>

class CReportListCtrl : public QTreeWidget, public CReportList {
    Q_OBJECT
public:
    explicit CReportListCtrl(QWidget* parent = nullptr);

    int InsertColumn(int column, const QString& heading, Format format = FormatLeft, int width = -1) override;
    int GetColumnCount() const override;
    QString GetColumnHeading(int column) const override;
    int GetColumnWidth(int column) const override;
    void SetColumnWidth(int column, int width);

    // Inserts a row before index (clamped to the end); returns its index.
    int InsertItem(int index, const QString& text) override;
    bool SetItemText(int item, int subItem, const QString& text) override;
    QString GetItemText(int item, int subItem) const override;
    bool SetItemData(int item, std::intptr_t data) override;
    std::intptr_t GetItemData(int item) const override;
    int GetItemCount() const override;
    bool DeleteItem(int item);
    void DeleteAllItems() override;

    int GetSelectionMark() const override;
    int SetSelectionMark(int item) override; // returns the previous mark
    // Selects the row (clearing other selections) and makes it the mark.
    void SelectItem(int item);
    // The first selected row, -1 for none.
    int GetFirstSelectedItem() const;

signals:
    // A double click anywhere in the list (on a row or not), after the click has moved
    // the selection mark; Enter on the list does the same from the keyboard.
    void listDoubleClicked();

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnCurrentChanged();
    // Sets a cell of a row; a row the view has not seen yet changes without telling it
    // cell by cell (it lays out and paints the new rows whole when it next gets to them).
    void SetCell(QTreeWidgetItem* row, int item, int column, int role, const QVariant& value);

    int m_selectionMark = -1;
    std::vector<Format> m_formats; // one per column
    // The first of the rows appended since the view last had an event to handle; those
    // are not laid out or painted yet. A fill of thousands of rows sets their texts
    // without one change notice per cell, which was most of its time.
    int m_unseenFrom = kNoneUnseen;
    static constexpr int kNoneUnseen = 0x7fffffff;
};
