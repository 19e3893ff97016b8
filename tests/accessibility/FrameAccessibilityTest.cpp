// The main window as a screen reader meets it: toolbar buttons named after their
// commands with the keys as shortcuts, the workspace's tab band, the Subject tab's
// fields by their labels' names and mnemonics, and lists that publish their headers.

#include "FormFixture.h"

#include "app/CDocumentCommands.h"
#include "app/CMainFrame.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "framework/TTabWnd.h"
#include "resources/Resource.h"
#include "subjects/ui/SubjectTemplates.h"
#include "subjects/ui/CFormSubject.h"
#include "subjects/ui/CSubjectLookupDlg.h"
#include "support/MainFrameHarness.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QToolBar>

namespace quorin::test {
namespace {

QAccessibleInterface* Iface(QObject* object)
{
    return QAccessible::queryAccessibleInterface(object);
}

class FrameAccessibility : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        ASSERT_TRUE(OpenMainFrame(frame, commands, *doc, context));
        ASSERT_TRUE(ShowMainFrame(*frame));
        subject = qobject_cast<CFormSubject*>(frame->m_pNodeSubject->GetWnd());
        ASSERT_NE(subject, nullptr);
    }
    void TearDown() override
    {
        frame.reset();
        commands.reset();
        FormTest::TearDown();
    }

    QAccessibleInterface* ToolButton(unsigned id) const
    {
        QToolBar* toolbar = frame->findChild<QToolBar*>(QStringLiteral("toolbar59392"));
        QAction* action = frame->CommandAction(id);
        if (!toolbar || !action)
            return nullptr;
        return Iface(toolbar->widgetForAction(action));
    }

    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CDocumentCommands> commands;
    CFormSubject* subject = nullptr;
};

TEST_F(FrameAccessibility, ToolbarButtonsSayTheirCommandAndKeepTheKeysAsShortcut)
{
    QAccessibleInterface* save = ToolButton(res::ID_FILE_SAVE);
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->role(), QAccessible::Button);
    EXPECT_EQ(save->text(QAccessible::Name), QStringLiteral("Save"));
    EXPECT_EQ(save->text(QAccessible::Accelerator), QKeySequence(QStringLiteral("Ctrl+S")).toString(QKeySequence::NativeText));
    EXPECT_EQ(save->text(QAccessible::Help), QStringLiteral("Save the active document"));
    ASSERT_NE(save->actionInterface(), nullptr);
    EXPECT_EQ(save->actionInterface()->keyBindingsForAction(QAccessibleActionInterface::pressAction()).value(0),
              save->text(QAccessible::Accelerator));

    QAccessibleInterface* print = ToolButton(res::ID_FILE_PRINT);
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(print->text(QAccessible::Name), QStringLiteral("Print"));
    QAccessibleInterface* symbol = ToolButton(32795);
    ASSERT_NE(symbol, nullptr);
    EXPECT_EQ(symbol->text(QAccessible::Name), QStringLiteral("AC (TDH-49) Right Ear"));
    EXPECT_EQ(symbol->text(QAccessible::Accelerator), QKeySequence(QStringLiteral("Alt+1")).toString(QKeySequence::NativeText));
    // A command without a menu text is named by its tool tip.
    QAccessibleInterface* cut = ToolButton(res::ID_EDIT_CUT);
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(cut->text(QAccessible::Name), QStringLiteral("Cut"));

    QToolBar* toolbar = frame->findChild<QToolBar*>(QStringLiteral("toolbar59392"));
    int buttons = 0;
    for (QAction* action : toolbar->actions()) {
        if (action->isSeparator())
            continue;
        ++buttons;
        const QString name = Iface(toolbar->widgetForAction(action))->text(QAccessible::Name);
        EXPECT_FALSE(name.isEmpty());
        EXPECT_FALSE(name.contains(u'\t') || name.contains(u'&')) << name.toStdString();
    }
    EXPECT_EQ(buttons, 23);
}

TEST_F(FrameAccessibility, TheWorkspaceBandReadsItsPagesWithSubjectSelected)
{
    auto tabs = qobject_cast<TTabWnd*>(frame->m_pTabMain->GetWnd());
    ASSERT_NE(tabs, nullptr);
    QAccessibleInterface* band = Iface(tabs)->child(0);
    ASSERT_EQ(band->role(), QAccessible::PageTabList);
    QStringList names;
    QString selected;
    for (int i = 0; i < band->childCount(); ++i) {
        names << band->child(i)->text(QAccessible::Name);
        if (band->child(i)->state().selected)
            selected += band->child(i)->text(QAccessible::Name);
    }
    EXPECT_EQ(names, (QStringList{"Subject", "Audiogram", "CI Data", "S/L/L", "Other"}));
    EXPECT_EQ(selected, QStringLiteral("Subject"));
    // The reader reaches the form's fields below the window's own page.
    QAccessibleInterface* page = Iface(tabs)->child(1);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->object(), subject);
}

TEST_F(FrameAccessibility, BirthDateIsReachedByItsMnemonicAndReadByItsName)
{
    using namespace res::subject;
    auto birth = framework::FindControlAs<QLineEdit>(subject, IDC_BIRTH);
    ASSERT_NE(birth, nullptr);
    TypeInto(framework::FindControlAs<QLineEdit>(subject, IDC_LAST), QStringLiteral("LUND"));
    QApplication::focusWidget();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::AltModifier);
    Settle();
    ASSERT_EQ(QApplication::focusWidget(), birth) << "Alt+B moves to Birth Date";
    QAccessibleInterface* field = Iface(birth);
    EXPECT_EQ(field->text(QAccessible::Name), QStringLiteral("Birth Date"));
    EXPECT_TRUE(field->state().focused);
    // The label says so for the reader too.
    bool labelled = false;
    for (const auto& [other, relation] : field->relations(QAccessible::Label))
        labelled |= other->text(QAccessible::Name).startsWith(QStringLiteral("Birth Date"));
    EXPECT_TRUE(labelled);
    QTest::keyClicks(birth, QStringLiteral("04/09/2012"));
    Settle();

    const QImage image = frame->grab().toImage();
    const QString file = QStringLiteral(QUORIN_SCREENSHOT_DIR "/subject-tab-birth-date-focus.png");
    ASSERT_TRUE(image.save(file));
    EXPECT_EQ(QImage(file).size(), frame->size());

    // Two fields labelled "Type:" are told apart by their names.
    EXPECT_EQ(Iface(framework::FindControl(subject, IDC_PHONE1_TYPE))->text(QAccessible::Name),
              QStringLiteral("Phone type"));
    EXPECT_EQ(Iface(framework::FindControl(subject, IDC_PHONE2_TYPE))->text(QAccessible::Name),
              QStringLiteral("Alt Phone type"));
    EXPECT_EQ(Iface(framework::FindControl(subject, IDC_LOAD_BY_ID))->text(QAccessible::Name),
              QStringLiteral("Load subject by id"));
}

TEST_F(FrameAccessibility, TheLookupListIsNamedReachedByItsPromptAndReadsItsHeaders)
{
    using namespace res::subject;
    AddSubject(QStringLiteral("SMITH"), QStringLiteral("JOHN"), 501, QStringLiteral("1970-05-06"));
    TypeInto(framework::FindControlAs<QLineEdit>(subject, IDC_LAST), QStringLiteral("SMITH"));
    QString name, cell, focusedName;
    QStringList headers;
    OnNextModal([&](QWidget* modal) {
        auto dialog = qobject_cast<CSubjectLookupDlg*>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        // The list lays its rows out once the events have run.
        Settle();
        QAccessibleInterface* list = Iface(dialog->List());
        name = list->text(QAccessible::Name);
        if (QAccessibleTableInterface* table = list->tableInterface()) {
            for (int column = 0; column < 3; ++column)
                headers << table->columnDescription(column);
            if (table->rowCount() > 0 && table->cellAt(0, 2))
                cell = table->cellAt(0, 2)->text(QAccessible::Name);
        }
        // Alt with the prompt's mnemonic leads into the list.
        QTest::keyClick(dialog, Qt::Key_M, Qt::AltModifier);
        if (QWidget* focus = QApplication::focusWidget())
            focusedName = Iface(focus)->text(QAccessible::Name);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QTest::mouseClick(framework::FindControl(subject, IDC_LOOKUP), Qt::LeftButton);
    Settle();
    EXPECT_EQ(name, QStringLiteral("Matching subjects"));
    EXPECT_EQ(headers, (QStringList{"Name", "Unit", "Birth Date"}));
    EXPECT_EQ(cell, QStringLiteral("05/06/1970"));
    EXPECT_EQ(focusedName, QStringLiteral("Matching subjects"));
}

TEST(ReportListAccessibility, ColumnTitlesArePublishedAsHeaders)
{
    CReportListCtrl list;
    list.InsertColumn(0, QStringLiteral("Name"), CReportListCtrl::FormatLeft, 140);
    list.InsertColumn(1, QStringLiteral("Unit"), CReportListCtrl::FormatLeft, 72);
    list.InsertColumn(2, QStringLiteral("Birth Date"), CReportListCtrl::FormatLeft, 72);
    list.InsertItem(0, QStringLiteral("LUND, ERIK"));
    list.SetItemText(0, 1, QStringLiteral("1234"));
    list.SetItemText(0, 2, QStringLiteral("04/09/2012"));
    list.resize(400, 200);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QAccessibleInterface* iface = Iface(&list);
    ASSERT_NE(iface, nullptr);
    QAccessibleTableInterface* table = iface->tableInterface();
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->columnCount(), 3);
    EXPECT_EQ(table->rowCount(), 1);
    QStringList headers;
    for (int column = 0; column < 3; ++column)
        headers << table->columnDescription(column);
    EXPECT_EQ(headers, (QStringList{"Name", "Unit", "Birth Date"}));
    // Each cell knows its column header, as a reader announces it.
    QAccessibleInterface* cell = table->cellAt(0, 2);
    ASSERT_NE(cell, nullptr);
    const QList<QAccessibleInterface*> cellHeaders = cell->tableCellInterface()->columnHeaderCells();
    ASSERT_EQ(cellHeaders.size(), 1);
    EXPECT_EQ(cellHeaders.front()->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(cellHeaders.front()->text(QAccessible::Name), QStringLiteral("Birth Date"));
    // Qt hands the header cell over without keeping it.
    for (QAccessibleInterface* header : cellHeaders)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(header));
    EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("04/09/2012"));
}

} // namespace
} // namespace quorin::test
