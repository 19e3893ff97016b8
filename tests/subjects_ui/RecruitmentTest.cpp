// Tools > Recruitment: the list of methods from the registry, Add and Delete.

#include "FormFixture.h"

#include "registration/DialogRegistry.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "subjects/ui/SubjectTemplates.h"
#include "subjects/ui/CRecruitmentDlg.h"

#include <QLineEdit>
#include <QTest>

using namespace res::recruitment;

namespace quorin::test {
namespace {

class RecruitmentTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        registry.ExecRaw("Quorin", "delete from recruitment; insert into recruitment (method) values "
                                   "('Word of Mouth'), ('Flyer'), ('Newspaper Ad')");
    }

    static QStringList Rows(CRecruitmentDlg* dialog)
    {
        QStringList rows;
        for (int row = 0; row < dialog->List()->GetItemCount(); ++row)
            rows << dialog->List()->GetItemText(row, 0);
        return rows;
    }

    int Methods() const { return Count("Quorin", QStringLiteral("select count(*) as num from recruitment")); }

    // Runs Tools > Recruitment as the menu does, with the user's actions while it is open.
    int RunDialog(std::function<void(CRecruitmentDlg*)> actions)
    {
        OnNextModal([actions](QWidget* modal) {
            auto dialog = qobject_cast<CRecruitmentDlg*>(modal);
            if (dialog)
                actions(dialog);
            if (modal && modal->isVisible())
                Click(framework::FindControl(modal, 1)); // OK
        });
        return RunRegisteredDialog(UserInterface::Dialog::Recruitment, nullptr, *doc);
    }
};

TEST_F(RecruitmentTest, ListShowsTheMethodsSortedUnderOneColumn)
{
    QStringList rows;
    QString title;
    QString heading;
    int width = 0;
    EXPECT_EQ(RunDialog([&](CRecruitmentDlg* dialog) {
                  rows = Rows(dialog);
                  title = dialog->windowTitle();
                  heading = dialog->List()->headerItem()->text(0);
                  width = dialog->List()->GetColumnWidth(0);
              }),
              1);
    EXPECT_EQ(title, QStringLiteral("Recruitment"));
    EXPECT_EQ(heading, QStringLiteral("Recruitment Method"));
    EXPECT_EQ(width, 150);
    EXPECT_EQ(rows, (QStringList{"Flyer", "Newspaper Ad", "Word of Mouth"}));
}

TEST_F(RecruitmentTest, AddingAnEmptyDescriptionDoesNothing)
{
    QStringList rows;
    RunDialog([&](CRecruitmentDlg* dialog) {
        Click(framework::FindControl(dialog, IDC_ADD));
        rows = Rows(dialog);
    });
    EXPECT_EQ(Methods(), 3);
    EXPECT_EQ(rows.size(), 3);
    EXPECT_TRUE(ui.Texts().isEmpty());
}

TEST_F(RecruitmentTest, AddedMethodIsStoredListedAndTheEditKeepsItsText)
{
    QStringList rows;
    QString editText;
    RunDialog([&](CRecruitmentDlg* dialog) {
        TypeInto(framework::FindControlAs<QLineEdit>(dialog, IDC_METHOD), QStringLiteral("Radio Ad"), false);
        Click(framework::FindControl(dialog, IDC_ADD));
        rows = Rows(dialog);
        editText = framework::FindControlAs<QLineEdit>(dialog, IDC_METHOD)->text();
    });
    EXPECT_EQ(rows, (QStringList{"Flyer", "Newspaper Ad", "Radio Ad", "Word of Mouth"}));
    EXPECT_EQ(editText, QStringLiteral("Radio Ad"));
    EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from recruitment where method = 'Radio Ad'")), 1);
}

TEST_F(RecruitmentTest, DeleteWithoutASelectionAsksForOne)
{
    RunDialog([&](CRecruitmentDlg* dialog) { Click(framework::FindControl(dialog, IDC_DELETE)); });
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, QStringLiteral("Please Make Selection"));
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(Methods(), 3);
}

TEST_F(RecruitmentTest, DeletingTheSelectedMethodLeavesSubjectsThatUseIt)
{
    AddSubject(QStringLiteral("BERG"), QStringLiteral("OLA"), 1, QStringLiteral("1980-01-02"));
    registry.ExecRaw("Quorin", "update subjects set Recruitment = 'Flyer'");
    QStringList rows;
    RunDialog([&](CRecruitmentDlg* dialog) {
        CReportListCtrl* list = dialog->List();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(0)).center());
        Click(framework::FindControl(dialog, IDC_DELETE));
        rows = Rows(dialog);
    });
    EXPECT_TRUE(ui.Texts().isEmpty());
    EXPECT_EQ(rows, (QStringList{"Newspaper Ad", "Word of Mouth"}));
    EXPECT_EQ(Methods(), 2);
    EXPECT_EQ(Scalar("Quorin", QStringLiteral("select Recruitment from subjects"), "Recruitment"),
              QStringLiteral("Flyer"));
}

} // namespace
} // namespace quorin::test
