// The workspace tree: nodes and their ids, creation in order with styles and icons,
// each tab window remembering its page, and form views attached to the document.
#include "document/CQuorinDoc.h"
#include "controls/DdxFields.h"
#include "framework/ControlId.h"
#include "framework/TFrameWnd.h"
#include "framework/TTabWnd.h"
#include "framework/TVisualFormView.h"
#include "framework/TVisualFramework.h"
#include "framework/TemplateRegistry.h"
#include "MessageRecorder.h"
#include "support/ScriptedUserInterface.h"

#include <QLineEdit>
#include <gtest/gtest.h>

#include <memory>

namespace {

TWindowClass PlainView()
{
    return TWindowClass{QStringLiteral("CPlainView"), 5,
                        [](QWidget* parent, CCreateContext*) -> QWidget* { return new QWidget(parent); }};
}

TEST(VisualFramework, IdsAreUniqueAndNodesAreFoundByIdAndWindow)
{
    TVisualFramework framework;
    auto root = new TVisualNode(1, QString(), TTabWnd::WindowClass(), nullptr, TVisualNode::TabsTop);
    EXPECT_TRUE(framework.Add(root));
    // A refused node stays the caller's, whole: the framework neither keeps nor deletes it.
    auto again = std::make_unique<TVisualNode>(1, QStringLiteral("again"), PlainView(), nullptr);
    EXPECT_FALSE(framework.Add(again.get()));
    EXPECT_EQ(again->m_strTitle, QStringLiteral("again"));
    EXPECT_EQ(again->m_pFramework, nullptr);
    EXPECT_EQ(framework.FindNode(1), root);
    EXPECT_TRUE(framework.Add(root, new TVisualNode(2, QStringLiteral("Page"), PlainView(), nullptr)));
    auto twice = std::make_unique<TVisualNode>(2, QStringLiteral("Twice"), PlainView(), nullptr);
    EXPECT_FALSE(framework.Add(root, twice.get()));
    EXPECT_EQ(twice->m_pParent, nullptr);
    // Nor is a child hung under a parent that is not in the tree.
    auto stranger = std::make_unique<TVisualNode>(7, QStringLiteral("Stranger"), PlainView(), nullptr);
    auto orphan = std::make_unique<TVisualNode>(8, QStringLiteral("Orphan"), PlainView(), nullptr);
    EXPECT_FALSE(framework.Add(stranger.get(), orphan.get()));
    EXPECT_TRUE(stranger->m_children.empty());
    EXPECT_EQ(framework.FindNode(8), nullptr);
    EXPECT_EQ(framework.FindNode(2)->m_strTitle, QStringLiteral("Page"));
    EXPECT_EQ(framework.FindNode(2)->m_pParent, root);
    EXPECT_EQ(framework.FindNode(3), nullptr);
    EXPECT_EQ(root->m_children.size(), 1u);
    EXPECT_EQ(root->m_nType, TVisualNode::KindTabWnd);
    EXPECT_EQ(framework.FindNode(2)->m_nType, TVisualNode::KindView);
}

TEST(VisualFramework, UnknownKindFailsCreation)
{
    TFrameWnd frame;
    TVisualFramework framework;
    auto root = new TVisualNode(1, QString(), TTabWnd::WindowClass(), nullptr);
    framework.Add(root);
    TWindowClass splitter = PlainView();
    splitter.kind = 1;
    framework.Add(root, new TVisualNode(2, QStringLiteral("Split"), splitter, nullptr));
    EXPECT_FALSE(framework.Create(&frame));
}

class WorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = new TVisualNode(1, QString(), TTabWnd::WindowClass(), nullptr, TVisualNode::TabsTop);
        auto subject = new TVisualNode(5, QStringLiteral("Subject"), PlainView(), nullptr);
        audiogram = new TVisualNode(2, QStringLiteral("Audiogram"), TTabWnd::WindowClass(), nullptr);
        chart = new TVisualNode(3, QStringLiteral("Audiogram"), PlainView(), nullptr);
        data = new TVisualNode(4, QStringLiteral("Data"), PlainView(), nullptr);
        other = new TVisualNode(6, QStringLiteral("Other"), PlainView(), nullptr);
        subject->SetIcon(129);
        EXPECT_FALSE(subject->SetIcon(133)); // a node keeps its first icon
        framework.Add(root);
        framework.Add(root, subject);
        framework.Add(root, audiogram);
        framework.Add(audiogram, chart);
        framework.Add(audiogram, data);
        framework.Add(root, other);
        frame.resize(800, 600);
        ASSERT_TRUE(framework.Create(&frame));
        frame.show();
    }

    TTabWnd* Tabs(TVisualNode* node) { return qobject_cast<TTabWnd*>(node->GetWnd()); }

    TFrameWnd frame;
    TVisualFramework framework;
    TVisualNode* root = nullptr;
    TVisualNode* audiogram = nullptr;
    TVisualNode* chart = nullptr;
    TVisualNode* data = nullptr;
    TVisualNode* other = nullptr;
};

TEST_F(WorkspaceTest, TreeIsCreatedInOrderWithItsTabPositions)
{
    TTabWnd* top = Tabs(root);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(frame.centralWidget(), top);
    EXPECT_EQ(framework::ControlId(top), TTabWnd::kFrameChildId);
    EXPECT_EQ(top->GetTabPos(), TTabWnd::TabsOnTop);
    EXPECT_EQ(Tabs(audiogram)->GetTabPos(), TTabWnd::TabsOnBottom);
    ASSERT_EQ(top->GetTabCount(), 3);
    EXPECT_EQ(top->GetTabTitle(0), QStringLiteral("Subject"));
    EXPECT_EQ(top->GetTabTitle(1), QStringLiteral("Audiogram"));
    EXPECT_EQ(top->GetTabTitle(2), QStringLiteral("Other"));
    EXPECT_EQ(Tabs(audiogram)->GetTabTitle(1), QStringLiteral("Data"));
    EXPECT_EQ(framework::ControlId(other->GetWnd()), TTabWnd::kFirstPageId + 2);
    EXPECT_EQ(framework.FindNode(other->GetWnd()), other);
    EXPECT_TRUE(TFrameWnd::IsView(other->GetWnd()));
    // The icon made the Subject tab 18 pixels wider than its caption.
    EXPECT_EQ(top->TabWidth(0), QFontMetrics(top->TabFont()).horizontalAdvance(QStringLiteral("Subject")) + 4 + 18);
}

TEST_F(WorkspaceTest, EachTabWindowRemembersItsOwnActivePage)
{
    TTabWnd* top = Tabs(root);
    TTabWnd* inner = Tabs(audiogram);
    top->SetActiveTab(1, true);
    EXPECT_TRUE(chart->GetWnd()->isVisible()); // first opened: the chart tab
    inner->SetActiveTab(1, true);
    top->SetActiveTab(0, true);
    top->SetActiveTab(1, true);
    EXPECT_EQ(inner->GetActiveTab(), 1);
    EXPECT_TRUE(data->GetWnd()->isVisible());
    EXPECT_FALSE(chart->GetWnd()->isVisible());
    EXPECT_EQ(frame.GetActiveView(), data->GetWnd());
}

TEST_F(WorkspaceTest, SetActiveTabActsOnTheNodesOwnTabWindowOnly)
{
    framework.SetActiveTab(data);
    EXPECT_EQ(Tabs(audiogram)->GetActiveTab(), 1);
    EXPECT_EQ(Tabs(root)->GetActiveTab(), 0);
    framework.SetActiveTab(root); // hosted by the frame: nothing
    framework.BringForward(chart);
    EXPECT_EQ(Tabs(root)->GetActiveTab(), 1);
    EXPECT_EQ(Tabs(audiogram)->GetActiveTab(), 0);
    EXPECT_TRUE(chart->GetWnd()->isVisible());
}

TEST_F(WorkspaceTest, DestroyTakesDownWindowsAndNodes)
{
    QPointer<QWidget> top = root->GetWnd();
    framework.Destroy();
    EXPECT_TRUE(top.isNull());
    EXPECT_EQ(framework.FindNode(1), nullptr);
    EXPECT_EQ(framework.GetRootCount(), 0);
    EXPECT_EQ(frame.centralWidget(), nullptr);
}

// A form with one date field and one whole number, exchanged with members.
class DateForm : public TVisualFormView {
public:
    DateForm(QWidget* parent, CCreateContext* context, std::vector<QString>* log, QString name)
        : TVisualFormView(9100, parent, context), m_log(log), m_name(std::move(name))
    {
    }
    bool OnUpdate(int hint) override
    {
        m_log->push_back(m_name + QString::number(hint));
        return TVisualFormView::OnUpdate(hint);
    }
    QString date;
    int number = -1;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_DateField(pDX, 1, date);
        DDX_IntField(pDX, 2, number);
    }

private:
    std::vector<QString>* m_log;
    QString m_name;
};

class FormViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        framework::DialogTemplate form;
        form.id = 9100;
        form.cx = 100;
        form.cy = 40;
        form.controls = {
            {1, framework::ControlKind::Edit, {}, 0, 0, 50, 12, 0, {}},
            {2, framework::ControlKind::Edit, {}, 0, 14, 50, 12, 0, {}},
        };
        framework::RegisterDialogTemplate(form);
        context.m_pCurrentDoc = &document;
    }

    quorin::test::ScriptedUserInterface ui;
    CQuorinDoc document{ui};
    CCreateContext context;
    std::vector<QString> log;
    framework::test::MessageRecorder messages;
};

TEST_F(FormViewTest, HintsReachTheViewsInAttachmentOrder)
{
    DateForm first(nullptr, &context, &log, QStringLiteral("first"));
    DateForm second(nullptr, &context, &log, QStringLiteral("second"));
    first.number = 12;
    EXPECT_TRUE(document.UpdateAllViews(0));
    EXPECT_TRUE(document.UpdateAllViews(2));
    EXPECT_EQ(log, (std::vector<QString>{"first0", "second0", "first2", "second2"}));
    EXPECT_EQ(framework::FindControlAs<QLineEdit>(&first, 2)->text(), QStringLiteral("12"));
}

TEST_F(FormViewTest, FailedExchangeRefusesTheHandOverAndStopsTheOtherViews)
{
    DateForm first(nullptr, &context, &log, QStringLiteral("first"));
    DateForm second(nullptr, &context, &log, QStringLiteral("second"));
    framework::FindControlAs<QLineEdit>(&first, 1)->setText(QStringLiteral("2/30/2005"));
    EXPECT_FALSE(document.UpdateAllViews(1));
    EXPECT_EQ(log, (std::vector<QString>{"first1"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Error: Invalid Date - use MM/DD/YYYY or MM-DD-YYYY format."));
}

TEST_F(FormViewTest, DisabledFormDisablesEveryControl)
{
    DateForm form(nullptr, &context, &log, QStringLiteral("form"));
    auto edit = framework::FindControlAs<QLineEdit>(&form, 1);
    form.setEnabled(false);
    EXPECT_FALSE(edit->isEnabled());
    form.setEnabled(true);
    EXPECT_TRUE(edit->isEnabled());
}

TEST_F(FormViewTest, ViewDetachesFromTheDocumentWhenDestroyed)
{
    {
        DateForm gone(nullptr, &context, &log, QStringLiteral("gone"));
    }
    DateForm kept(nullptr, &context, &log, QStringLiteral("kept"));
    document.UpdateAllViews(0);
    EXPECT_EQ(log, (std::vector<QString>{"kept0"}));
}

} // namespace
