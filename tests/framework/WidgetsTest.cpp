// Message boxes, the wait cursor, the template builder and the report list control.
#include "framework/ControlId.h"
#include "framework/MessageBox.h"
#include "framework/ReportListCtrl.h"
#include "framework/TemplateBuilder.h"
#include "framework/TemplateRegistry.h"
#include "framework/WaitCursor.h"
#include "resources/Resource.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(MessageBox, CaptionIconsButtonsAndLineBreaks)
{
    auto stop = framework::BuildMessageBox(nullptr, {QStringLiteral("Invalid Date!\rPlease use MM/DD/YYYY."),
                                                     framework::MessageIcon::Stop, framework::MessageButtons::Ok});
    EXPECT_EQ(stop->windowTitle(), QStringLiteral("Quorin"));
    EXPECT_EQ(stop->icon(), QMessageBox::Critical);
    EXPECT_EQ(stop->text(), QStringLiteral("Invalid Date!\nPlease use MM/DD/YYYY."));
    EXPECT_EQ(stop->standardButtons(), QMessageBox::Ok);

    auto question = framework::BuildMessageBox(nullptr, {QStringLiteral("a\r\nb\nc"), framework::MessageIcon::Default,
                                                         framework::MessageButtons::YesNo});
    EXPECT_EQ(question->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(question->text(), QStringLiteral("a\nb\nc"));
    EXPECT_EQ(question->standardButtons(), QMessageBox::Yes | QMessageBox::No);

    auto info = framework::BuildMessageBox(nullptr, {QStringLiteral("Done"), framework::MessageIcon::Information,
                                                     framework::MessageButtons::Ok});
    EXPECT_EQ(info->icon(), QMessageBox::Information);
}

TEST(MessageBox, RealBoxReturnsTheButtonPressed)
{
    // Answer the modal box from the event loop, as a user would.
    QTimer::singleShot(0, [] {
        auto box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(framework::ShowMessage(QStringLiteral("Save Current Subject?"), framework::MessageIcon::Default,
                                     framework::MessageButtons::YesNo),
              framework::MessageResult::No);
}

TEST(MessageBox, ShowsTheArrowWhileTheWaitCursorIsUp)
{
    CWaitCursor wait;
    Qt::CursorShape during = Qt::WaitCursor;
    QTimer::singleShot(0, [&] {
        during = QApplication::overrideCursor()->shape();
        qobject_cast<QMessageBox*>(QApplication::activeModalWidget())->button(QMessageBox::Ok)->click();
    });
    framework::ShowMessage(QStringLiteral("Done"), framework::MessageIcon::Information);
    EXPECT_EQ(during, Qt::ArrowCursor);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
}

TEST(WaitCursor, NestedCursorsComeBackAfterTheLast)
{
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    {
        CWaitCursor outer;
        {
            CWaitCursor inner;
            EXPECT_EQ(CWaitCursor::Depth(), 2);
        }
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    CWaitCursor::End(); // unmatched: ignored
    EXPECT_EQ(CWaitCursor::Depth(), 0);
}

TEST(TemplateBuilder, DialogUnitsFollowTheFontMetrics)
{
    QFont small = QApplication::font();
    small.setPixelSize(10);
    QFont large = small;
    large.setPixelSize(20);
    const framework::DialogUnits a(small), b(large);
    EXPECT_GT(b.BaseX(), a.BaseX());
    EXPECT_EQ(a.ToPixelsX(4), a.BaseX());
    EXPECT_EQ(a.ToPixelsY(8), a.BaseY());
    EXPECT_EQ(b.ToPixels(4, 8, 8, 16).size(), QSize(2 * b.BaseX(), 2 * b.BaseY()));
}

TEST(TemplateBuilder, LoginTemplateBuildsItsControlsAtTheirPlaces)
{
    const framework::DialogTemplate* login = framework::FindDialogTemplate(res::IDD_LOGIN);
    ASSERT_NE(login, nullptr);
    QWidget dialog;
    const framework::TemplateBuilder builder(framework::TemplateBuilder::DialogFont(*login));
    const QSize size = builder.Build(*login, &dialog);
    const auto& units = builder.Units();
    EXPECT_EQ(size, QSize(units.ToPixelsX(270), units.ToPixelsY(118)));

    auto user = framework::FindControlAs<QLineEdit>(&dialog, res::IDC_USERNAME);
    auto password = framework::FindControlAs<QLineEdit>(&dialog, res::IDC_PASSWORD);
    ASSERT_NE(user, nullptr);
    ASSERT_NE(password, nullptr);
    EXPECT_EQ(user->geometry(), units.ToPixels(134, 36, 63, 12));
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    auto ok = framework::FindControlAs<QPushButton>(&dialog, res::IDOK);
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(framework::FindControl(&dialog, 4242), nullptr);
}

TEST(TemplateBuilder, UpperCaseAndNumberEditsFilterTyping)
{
    framework::DialogTemplate form;
    form.cx = 100;
    form.cy = 40;
    form.controls = {
        {1, framework::ControlKind::Edit, {}, 0, 0, 50, 12, framework::StyleUpperCase, {}},
        {2, framework::ControlKind::Edit, {}, 0, 14, 50, 12, framework::StyleNumber, {}},
    };
    QWidget parent;
    framework::TemplateBuilder(framework::TemplateBuilder::DialogFont(form)).Build(form, &parent);
    auto upper = framework::FindControlAs<QLineEdit>(&parent, 1);
    auto number = framework::FindControlAs<QLineEdit>(&parent, 2);
    QTest::keyClicks(upper, QStringLiteral("smith"));
    QTest::keyClicks(number, QStringLiteral("1a2"));
    EXPECT_EQ(upper->text(), QStringLiteral("SMITH"));
    EXPECT_EQ(number->text(), QStringLiteral("12"));
}

TEST(ReportList, ColumnsRowsItemDataAndSelectionMark)
{
    CReportListCtrl list;
    list.InsertColumn(0, QStringLiteral("Name"), CReportListCtrl::FormatLeft, 120);
    list.InsertColumn(1, QStringLiteral("Age"), CReportListCtrl::FormatRight, 40);
    EXPECT_EQ(list.GetColumnCount(), 2);
    EXPECT_EQ(list.GetColumnWidth(0), 120);
    EXPECT_EQ(list.headerItem()->text(1), QStringLiteral("Age"));

    EXPECT_EQ(list.InsertItem(0, QStringLiteral("SMITH")), 0);
    EXPECT_EQ(list.InsertItem(99, QStringLiteral("JONES")), 1);
    EXPECT_EQ(list.InsertItem(0, QStringLiteral("ADAMS")), 0);
    EXPECT_TRUE(list.SetItemText(2, 1, QStringLiteral("34")));
    EXPECT_FALSE(list.SetItemText(5, 1, QStringLiteral("x")));
    EXPECT_TRUE(list.SetItemData(2, 7001));
    EXPECT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(list.GetItemText(1, 0), QStringLiteral("SMITH"));
    EXPECT_EQ(list.GetItemText(2, 1), QStringLiteral("34"));
    EXPECT_EQ(list.GetItemData(2), 7001);
    EXPECT_EQ(list.GetItemData(9), 0);

    EXPECT_EQ(list.GetSelectionMark(), -1);
    list.SelectItem(2);
    EXPECT_EQ(list.GetSelectionMark(), 2);
    EXPECT_EQ(list.GetFirstSelectedItem(), 2);
    list.InsertItem(0, QStringLiteral("BAKER")); // the mark follows its row
    EXPECT_EQ(list.GetSelectionMark(), 3);
    EXPECT_TRUE(list.DeleteItem(3));
    EXPECT_EQ(list.GetSelectionMark(), -1);
    list.DeleteAllItems();
    EXPECT_EQ(list.GetItemCount(), 0);

    // A column inserted in front moves the texts and formats of the others along.
    list.InsertItem(0, QStringLiteral("SMITH"));
    list.SetItemText(0, 1, QStringLiteral("34"));
    list.InsertColumn(0, QStringLiteral("Id"), CReportListCtrl::FormatCenter, 30);
    EXPECT_EQ(list.GetItemText(0, 0), QString());
    EXPECT_EQ(list.GetItemText(0, 1), QStringLiteral("SMITH"));
    EXPECT_EQ(list.GetItemText(0, 2), QStringLiteral("34"));
    list.InsertItem(1, QStringLiteral("7"));
    EXPECT_EQ(list.topLevelItem(1)->textAlignment(0), int(Qt::AlignHCenter | Qt::AlignVCenter));
    EXPECT_EQ(list.topLevelItem(1)->textAlignment(2), int(Qt::AlignRight | Qt::AlignVCenter));
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
