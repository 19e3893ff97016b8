#include "reports/ui/ChangeHistoryWindow.h"

#include "document/AdministratorCheck.h"
#include "document/CQuorinDoc.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "framework/TemplateRegistry.h"
#include "registration/DialogRegistry.h"
#include "registration/DocumentCommandRegistry.h"
#include "reports/query/ChangeHistoryPaging.h"
#include "reports/query/ChangeHistoryQuery.h"
#include "reports/query/ListCsv.h"
#include "reports/ui/ChangeHistoryTemplate.h"
#include "reports/ui/PrintList.h"
#include "reports/ui/WidenColumns.h"
#include "resources/Resource.h"

#include <QAbstractButton>
#include <QStringList>

#include <optional>

using quorin::UserInterface;

ChangeHistoryWindow::ChangeHistoryWindow(CQuorinDoc& document, QWidget* parent)
    : CReportDlg(res::IDD_CHANGE_HISTORY, document, QStringLiteral("Change History"), parent)
{
    if (auto save = framework::FindControlAs<QAbstractButton>(this, IDC_SAVE))
        connect(save, &QAbstractButton::clicked, this, [this] { OnSave(); });
    connect(List(), &CReportListCtrl::listDoubleClicked, this, &ChangeHistoryWindow::OnOpenTest);
    TakeOpenSubject();
}

std::vector<CReportDlg::Column> ChangeHistoryWindow::Columns() const
{
    return {{QStringLiteral("When"), 140}, {QStringLiteral("Who"), 80}, {QStringLiteral("What"), 230},
            {QStringLiteral("Old"), 150}, {QStringLiteral("New"), 150}};
}

void ChangeHistoryWindow::TakeOpenSubject()
{
    const CSubject& subject = Document().m_subject;
    m_subjectId = subject.SubjectID;
    QStringList names{subject.Lastname.trimmed(), subject.Firstname.trimmed()};
    names.removeAll(QString());
    m_title = QStringLiteral("Change History: %1 (%2)")
                  .arg(names.join(QStringLiteral(", ")), QString::number(m_subjectId));
    setWindowTitle(m_title);
}

void ChangeHistoryWindow::WidenColumns()
{
    quorin::WidenColumnsToContents(*List(), GivenWidths());
}

void ChangeHistoryWindow::OnInitDialog()
{
    CReportDlg::OnInitDialog();
    WidenColumns();
}

void ChangeHistoryWindow::OnReopen()
{
    TakeOpenSubject();
    CReportDlg::OnReopen();
    WidenColumns();
}

void ChangeHistoryWindow::BuildList(quorin::CReportQuery& query, CReportList& list)
{
    quorin::BuildChangeHistory(query, list, m_subjectId);
}

void ChangeHistoryWindow::OnPrint()
{
    quorin::PrintList(Document(), m_title, *List(), this);
}

void ChangeHistoryWindow::OnSave()
{
    quorin::SaveListAsShown(Document().UI(), m_title, *List());
}

void ChangeHistoryWindow::OnOpenTest()
{
    const std::optional<int> testId = quorin::AudiogramTestOfRow(*List(), List()->GetSelectionMark());
    if (!testId)
        return;
    CQuorinDoc& document = Document();
    // The tests paged through are the open subject's.
    if (document.m_subject.SubjectID != m_subjectId) {
        document.UI().MessageBox(QStringLiteral("This change history is of subject %1, and another subject is open. "
                                                "Open subject %1 to see its audiogram tests.")
                                     .arg(m_subjectId));
        return;
    }
    quorin::PageToAudiogramTest(document, *testId);
}

namespace quorin {

namespace {

bool CanShowChangeHistory(const CQuorinDoc& document)
{
    return document.m_subject.SubjectID > 0 && IsAdministrator(document);
}

void ShowChangeHistory(CQuorinDoc& document)
{
    // The menu's state may lag behind by a tick of its timer.
    if (CanShowChangeHistory(document))
        document.UI().RunDialog(UserInterface::Dialog::ChangeHistory);
}

} // namespace

void RegisterChangeHistoryWindow()
{
    framework::RegisterDialogTemplate(res::ChangeHistoryTemplate());
    RegisterDialogWindow<ChangeHistoryWindow>(UserInterface::Dialog::ChangeHistory, WindowShown::Modeless);
    RegisterDocumentCommand(res::ID_VIEW_CHANGE_HISTORY, {&ShowChangeHistory, &CanShowChangeHistory});
}

} // namespace quorin
