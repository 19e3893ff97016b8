#pragma once
// What a report does with its list: columns with a heading and a width, rows of item
// texts with one number of item data each, and the selection mark (the row the user
// last picked, -1 for none). The list control on screen implements it, and so does an
// in-memory list that builders, printing and tests use without a widget.

#include <QString>

#include <cstdint>

class CReportList {
public:
    enum Format { FormatLeft, FormatRight, FormatCenter };

    virtual ~CReportList() = default;

    // Inserts a column before the index (clamped to the end); returns its index.
    virtual int InsertColumn(int column, const QString& heading, Format format = FormatLeft, int width = -1) = 0;
    virtual int GetColumnCount() const = 0;
    virtual QString GetColumnHeading(int column) const = 0;
    virtual int GetColumnWidth(int column) const = 0;

    // Inserts a row before the index (clamped to the end) with the text of column 0;
    // returns its index.
    virtual int InsertItem(int index, const QString& text) = 0;
    // Adds a row at the end; returns its index.
    int AppendItem(const QString& text) { return InsertItem(GetItemCount(), text); }
    virtual bool SetItemText(int item, int subItem, const QString& text) = 0;
    // "" for a row or column that does not exist.
    virtual QString GetItemText(int item, int subItem) const = 0;
    virtual bool SetItemData(int item, std::intptr_t data) = 0;
    virtual std::intptr_t GetItemData(int item) const = 0;
    virtual int GetItemCount() const = 0;
    virtual void DeleteAllItems() = 0;

    virtual int GetSelectionMark() const = 0;
    // Returns the previous mark; a row that does not exist clears it.
    virtual int SetSelectionMark(int item) = 0;
};
