// The Subject and Other tabs inside the main frame: File Save from Ctrl+S and from the
// toolbar takes every tab's edits, and the Tools commands of this subsystem.

#include "FormFixture.h"

#include "app/CDocumentCommands.h"
#include "app/CMainFrame.h"
#include "framework/ControlId.h"
#include "resources/Resource.h"
#include "subjects/ui/SubjectTemplates.h"
#include "subjects/ui/CFormOther.h"
#include "subjects/ui/CFormSubject.h"
#include "support/MainFrameHarness.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <QToolBar>

namespace quorin::test {
namespace {

class FrameTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        ASSERT_TRUE(OpenMainFrame(frame, commands, *doc, context));
        ASSERT_TRUE(ShowMainFrame(*frame));
        subject = qobject_cast<CFormSubject*>(frame->m_pNodeSubject->GetWnd());
        other = qobject_cast<CFormOther*>(frame->m_pNodeOther->GetWnd());
        ASSERT_NE(subject, nullptr) << "the Subject page is registered";
        ASSERT_NE(other, nullptr) << "the Other page is registered";
    }
    void TearDown() override
    {
        frame.reset();
        commands.reset();
        FormTest::TearDown();
    }

    QLineEdit* SubjectEdit(int id) const { return framework::FindControlAs<QLineEdit>(subject, id); }

    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CDocumentCommands> commands;
    CFormSubject* subject = nullptr;
    CFormOther* other = nullptr;
};

TEST_F(FrameTest, CtrlSAndTheToolbarSaveTakeTheEditsOfBothTabs)
{
    using namespace res::subject;
    TypeInto(SubjectEdit(IDC_LAST), QStringLiteral("Lund"));
    TypeInto(SubjectEdit(IDC_FIRST), QStringLiteral("Erik"));
    TypeInto(SubjectEdit(IDC_BIRTH), QStringLiteral("04/09/2012"));
    TypeInto(SubjectEdit(IDC_DATE_INITIAL), QStringLiteral("06/03/2019"));

    frame->m_wndFramework.BringForward(frame->m_pNodeOther);
    Settle();
    ASSERT_TRUE(other->isVisible());
    EXPECT_TRUE(ui.Texts().isEmpty()) << "names and birth date pass the identity guard";
    Click(framework::FindControl(other, res::other::IDC_WEEKENDS));

    frame->m_wndFramework.BringForward(frame->m_pNodeSubject);
    TypeInto(SubjectEdit(IDC_CITY), QStringLiteral("Verona"), false);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    Settle();
    EXPECT_TRUE(ui.Texts().isEmpty()) << ui.Texts().join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(Scalar("Quorin", QStringLiteral("select City from subjects where Lastname = 'LUND'"), "City"),
              QStringLiteral("Verona"));
    EXPECT_EQ(Count("Quorin", QStringLiteral("select Weekends as num from subjects")), 1);

    TypeInto(SubjectEdit(IDC_PARENT), QStringLiteral("Anna Lund"), false);
    QAction* save = frame->CommandAction(res::ID_FILE_SAVE);
    ASSERT_NE(save, nullptr);
    Click(frame->m_wndToolBar->widgetForAction(save));
    EXPECT_EQ(Scalar("Quorin", QStringLiteral("select Parent from subjects"), "Parent"), QStringLiteral("ANNA LUND"));
    EXPECT_EQ(Count("Quorin", QStringLiteral("select count(*) as num from subjects")), 1);
}

TEST_F(FrameTest, OtherTabWithoutIdentityGoesBackToTheSubjectTab)
{
    ui.ClearMessages();
    frame->m_wndFramework.BringForward(frame->m_pNodeOther);
    Settle();
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text,
              QStringLiteral("You must enter either a KV Number, or Last Name, First Name, and Birth Date!"));
    ASSERT_FALSE(ui.PagesBroughtForward().empty());
    EXPECT_EQ(ui.PagesBroughtForward().back(), UserInterface::Page::Subject);
}

TEST_F(FrameTest, ToolsCommandsOfTheSubjectRegistryAreAvailable)
{
    EXPECT_TRUE(frame->QueryCommand(res::ID_TOOLS_RECRUITMENT).IsEnabled());
    SubjectEdit(res::subject::IDC_LAST)->setFocus(Qt::MouseFocusReason);
    Settle();
    EXPECT_TRUE(frame->QueryCommand(res::ID_TOOLS_ADMIN_IMPORT).IsEnabled());
    EXPECT_TRUE(frame->ExecuteCommand(res::ID_TOOLS_ADMIN_IMPORT));
    EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Unable to connect to Medical Manager Server!")});
    EXPECT_EQ(ui.Messages().back().icon, UserInterface::Icon::Stop);
}

} // namespace
} // namespace quorin::test
