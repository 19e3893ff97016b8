#include "subjects/ui/CRecruitmentDlg.h"

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"
#include "framework/ControlId.h"
#include "framework/DdxStandard.h"
#include "framework/ReportListCtrl.h"
#include "subjects/ui/SubjectTemplates.h"

#include <QHeaderView>
#include <QPushButton>

using namespace res::recruitment;
using quorin::UserInterface;

CRecruitmentDlg::CRecruitmentDlg(CQuorinDoc& document, QWidget* parent)
    : CTemplateDialog(res::IDD_RECRUITMENT, parent), m_document(document)
{
    m_pList = framework::FindControlAs<CReportListCtrl>(this, IDC_LIST);
    connect(framework::FindControlAs<QPushButton>(this, IDC_ADD), &QPushButton::clicked, this, [this] { OnAdd(); });
    connect(framework::FindControlAs<QPushButton>(this, IDC_DELETE), &QPushButton::clicked, this,
            [this] { OnDelete(); });
}

void CRecruitmentDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_METHOD, m_strMethod);
}

void CRecruitmentDlg::OnInitDialog()
{
    m_pList->InsertColumn(0, QStringLiteral("Recruitment Method"), CReportListCtrl::FormatLeft, 150);
    m_pList->setSortingEnabled(true);
    m_pList->sortByColumn(0, Qt::AscendingOrder);
    // Always ascending: the heading does not turn the order round.
    m_pList->header()->setSectionsClickable(false);
    m_pList->header()->setSortIndicatorShown(false);
    FillList();
}

void CRecruitmentDlg::FillList()
{
    m_pList->DeleteAllItems();
    MyADO& db = m_document.m_db;
    if (db.RunStoredProcedure("uspLoadRecruitMethods")) {
        for (int row = 0; !db.IsEOF(); db.MoveNext(), ++row)
            m_pList->InsertItem(row, quorin::StringField(db, "method"));
    }
}

void CRecruitmentDlg::OnAdd()
{
    UpdateData(true);
    if (m_strMethod.isEmpty())
        return;
    MyADO& db = m_document.m_db;
    quorin::BindString(db, "@method", m_strMethod);
    db.RunStoredProcedure("uspWriteRecruitMethod");
    db.RemoveParams();
    FillList();
}

void CRecruitmentDlg::OnDelete()
{
    const int row = m_pList->GetFirstSelectedItem();
    if (row < 0) {
        m_document.UI().MessageBox(QStringLiteral("Please Make Selection"), UserInterface::Icon::Stop);
        return;
    }
    MyADO& db = m_document.m_db;
    quorin::BindString(db, "@method", m_pList->GetItemText(row, 0));
    db.RunStoredProcedure("uspDeleteRecruitMethod");
    db.RemoveParams();
    FillList();
}
