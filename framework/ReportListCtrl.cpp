#include "framework/ReportListCtrl.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMetaMethod>
#include <QSignalBlocker>

namespace {
constexpr int kDataRole = Qt::UserRole + 1;

Qt::Alignment AlignmentOf(CReportListCtrl::Format format)
{
    switch (format) {
    case CReportListCtrl::FormatRight: return Qt::AlignRight | Qt::AlignVCenter;
    case CReportListCtrl::FormatCenter: return Qt::AlignHCenter | Qt::AlignVCenter;
    case CReportListCtrl::FormatLeft: break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}
} // namespace

CReportListCtrl::CReportListCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setColumnCount(0);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    connect(this, &QTreeWidget::currentItemChanged, this, [this] { OnCurrentChanged(); });
}

int CReportListCtrl::InsertColumn(int column, const QString& heading, Format format, int width)
{
    const int count = columnCount();
    column = qBound(0, column, count);
    QStringList headings;
    for (int i = 0; i < count; ++i)
        headings << headerItem()->text(i);
    headings.insert(column, heading);
    setColumnCount(count + 1);
    setHeaderLabels(headings);
    // Existing rows move their texts one column to the right of the new one.
    for (int row = 0; row < topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = topLevelItem(row);
        for (int i = count; i > column; --i) {
            item->setText(i, item->text(i - 1));
            item->setData(i, Qt::TextAlignmentRole, item->data(i - 1, Qt::TextAlignmentRole));
        }
        item->setText(column, QString());
    }
    headerItem()->setTextAlignment(column, AlignmentOf(format));
    m_formats.insert(m_formats.begin() + column, format);
    if (width >= 0)
        setColumnWidth(column, width);
    return column;
}

int CReportListCtrl::GetColumnCount() const
{
    return columnCount();
}

QString CReportListCtrl::GetColumnHeading(int column) const
{
    return column >= 0 && column < columnCount() ? headerItem()->text(column) : QString();
}

int CReportListCtrl::GetColumnWidth(int column) const
{
    return columnWidth(column);
}

void CReportListCtrl::SetColumnWidth(int column, int width)
{
    setColumnWidth(column, width);
}

int CReportListCtrl::InsertItem(int index, const QString& text)
{
    const int count = topLevelItemCount();
    index = qBound(0, index, count);
    auto item = new QTreeWidgetItem;
    item->setText(0, text);
    // Left is what the view draws for a cell without an alignment of its own; only the
    // other formats are set, cell by cell, so that a long fill does not pay for them.
    for (int column = 0; column < static_cast<int>(m_formats.size()); ++column) {
        if (m_formats[column] != FormatLeft)
            item->setTextAlignment(column, AlignmentOf(m_formats[column]));
    }
    insertTopLevelItem(index, item);
    if (index == count)
        m_unseenFrom = qMin(m_unseenFrom, index);
    else
        m_unseenFrom = kNoneUnseen; // rows the view may have seen moved down
    if (m_selectionMark >= index)
        ++m_selectionMark;
    return index;
}

void CReportListCtrl::SetCell(QTreeWidgetItem* row, int item, int column, int role, const QVariant& value)
{
    if (item >= m_unseenFrom && !isSortingEnabled()) {
        const QSignalBlocker quiet(model());
        row->setData(column, role, value);
        return;
    }
    row->setData(column, role, value);
}

bool CReportListCtrl::SetItemText(int item, int subItem, const QString& text)
{
    QTreeWidgetItem* row = topLevelItem(item);
    if (!row || subItem < 0 || subItem >= qMax(1, columnCount()))
        return false;
    SetCell(row, item, subItem, Qt::DisplayRole, text);
    return true;
}

QString CReportListCtrl::GetItemText(int item, int subItem) const
{
    const QTreeWidgetItem* row = topLevelItem(item);
    return row ? row->text(subItem) : QString();
}

bool CReportListCtrl::SetItemData(int item, std::intptr_t data)
{
    QTreeWidgetItem* row = topLevelItem(item);
    if (!row)
        return false;
    SetCell(row, item, 0, kDataRole, QVariant::fromValue<qlonglong>(data));
    return true;
}

std::intptr_t CReportListCtrl::GetItemData(int item) const
{
    const QTreeWidgetItem* row = topLevelItem(item);
    return row ? static_cast<std::intptr_t>(row->data(0, kDataRole).toLongLong()) : 0;
}

int CReportListCtrl::GetItemCount() const
{
    return topLevelItemCount();
}

bool CReportListCtrl::DeleteItem(int item)
{
    QTreeWidgetItem* row = nullptr;
    {
        // Taking the current row moves the current item; the mark is adjusted below.
        const QSignalBlocker blocker(this);
        row = takeTopLevelItem(item);
    }
    if (!row)
        return false;
    delete row;
    m_unseenFrom = kNoneUnseen;
    if (m_selectionMark == item)
        m_selectionMark = -1;
    else if (m_selectionMark > item)
        --m_selectionMark;
    return true;
}

void CReportListCtrl::DeleteAllItems()
{
    clear();
    m_selectionMark = -1;
    m_unseenFrom = kNoneUnseen;
}

int CReportListCtrl::GetSelectionMark() const
{
    return m_selectionMark;
}

int CReportListCtrl::SetSelectionMark(int item)
{
    const int previous = m_selectionMark;
    m_selectionMark = (item >= 0 && item < topLevelItemCount()) ? item : -1;
    return previous;
}

void CReportListCtrl::SelectItem(int item)
{
    QTreeWidgetItem* row = topLevelItem(item);
    clearSelection();
    if (!row)
        return;
    setCurrentItem(row);
    row->setSelected(true);
    m_selectionMark = item;
}

int CReportListCtrl::GetFirstSelectedItem() const
{
    for (int row = 0; row < topLevelItemCount(); ++row) {
        if (topLevelItem(row)->isSelected())
            return row;
    }
    return -1;
}

void CReportListCtrl::OnCurrentChanged()
{
    if (QTreeWidgetItem* current = currentItem())
        m_selectionMark = indexOfTopLevelItem(current);
}

bool CReportListCtrl::event(QEvent* event)
{
    // Whatever the view does next (lay out, paint, answer a click) it may do with the
    // rows as they are now: from here on every change is told to it again.
    m_unseenFrom = kNoneUnseen;
    return QTreeWidget::event(event);
}

bool CReportListCtrl::viewportEvent(QEvent* event)
{
    m_unseenFrom = kNoneUnseen;
    return QTreeWidget::viewportEvent(event);
}

void CReportListCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit listDoubleClicked();
}

void CReportListCtrl::keyPressEvent(QKeyEvent* event)
{
    // Only lists that act on a double click take Enter; elsewhere it stays the dialog's.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier
        && isSignalConnected(QMetaMethod::fromSignal(&CReportListCtrl::listDoubleClicked))) {
        event->accept();
        emit listDoubleClicked();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}
