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
            item->setTextAlignment(i, Qt::Alignment(QFlag(item->textAlignment(i - 1))));
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
    index = qBound(0, index, topLevelItemCount());
    auto item = new QTreeWidgetItem;
    item->setText(0, text);
    for (int column = 0; column < static_cast<int>(m_formats.size()); ++column)
        item->setTextAlignment(column, AlignmentOf(m_formats[column]));
    item->setData(0, kDataRole, QVariant::fromValue<qlonglong>(0));
    insertTopLevelItem(index, item);
    if (m_selectionMark >= index)
        ++m_selectionMark;
    return index;
}

bool CReportListCtrl::SetItemText(int item, int subItem, const QString& text)
{
    QTreeWidgetItem* row = topLevelItem(item);
    if (!row || subItem < 0 || subItem >= qMax(1, columnCount()))
        return false;
    row->setText(subItem, text);
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
    row->setData(0, kDataRole, QVariant::fromValue<qlonglong>(data));
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
