// Message boxes under the wait cursor, and the report list control.
#include "framework/MessageBox.h"
#include "framework/ReportListCtrl.h"
#include "framework/WaitCursor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Answered from the event loop, as a user would: the box shows the arrow, not the wait
// cursor that is up, and says which button was pressed.
TEST(MessageBox, RealBoxShowsTheArrowAndReturnsTheButtonPressed)
{
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    Qt::CursorShape during = Qt::WaitCursor;
    {
        CWaitCursor outer;
        CWaitCursor inner;
        QTimer::singleShot(0, [&] {
            during = QApplication::overrideCursor()->shape();
            qobject_cast<QMessageBox*>(QApplication::activeModalWidget())->button(QMessageBox::No)->click();
        });
        EXPECT_EQ(framework::ShowMessage(QStringLiteral("Save Current Subject?"), framework::MessageIcon::Default,
                                         framework::MessageButtons::YesNo),
                  framework::MessageResult::No);
        EXPECT_EQ(during, Qt::ArrowCursor);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        EXPECT_EQ(CWaitCursor::Depth(), 2);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    CWaitCursor::End(); // unmatched: ignored
    EXPECT_EQ(CWaitCursor::Depth(), 0);
}

// A fill sets the texts of its new rows without a change notice per cell; rows the view
// has already shown, or that moved, are still told every change.
TEST(ReportList, ChangesToRowsTheViewHasShownReachIt)
{
    CReportListCtrl list;
    list.InsertColumn(0, QStringLiteral("Name"), CReportListCtrl::FormatLeft, 120);
    list.InsertColumn(1, QStringLiteral("City"), CReportListCtrl::FormatLeft, 90);
    list.AppendItem(QStringLiteral("LEE"));
    list.SetItemText(0, 1, QStringLiteral("Omaha"));
    QSignalSpy changed(list.model(), &QAbstractItemModel::dataChanged);
    list.show();
    QApplication::processEvents();
    list.SetItemText(0, 1, QStringLiteral("Lincoln"));
    EXPECT_EQ(changed.count(), 1);

    list.AppendItem(QStringLiteral("KIM"));
    list.SetItemText(1, 1, QStringLiteral("Ames"));
    list.InsertItem(0, QStringLiteral("NAME")); // the rows move down under the heading
    list.SetItemText(1, 1, QStringLiteral("Kearney"));
    list.SetItemData(1, 4711);
    EXPECT_EQ(changed.count(), 3);
    EXPECT_EQ(list.GetItemText(1, 1), QStringLiteral("Kearney"));
    EXPECT_EQ(list.GetItemText(2, 1), QStringLiteral("Ames"));
    EXPECT_EQ(list.GetItemData(1), 4711);
}

} // namespace
