#include "implants/ui/CFormSLL.h"

#include "document/CQuorinDoc.h"
#include "framework/ControlId.h"
#include "framework/DdxStandard.h"
#include "framework/ReportListCtrl.h"
#include "implants/ui/CSpeechTestDlg.h"
#include "implants/store/SpeechTestEditing.h"
#include "implants/ui/SllTemplates.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace res::sll;

namespace {

struct Column {
    const char* title;
    int width;
};

constexpr Column kColumns[quorin::kSpeechTestColumns] = {
    {"Speech Test Name", 120}, {"", 1},          {"Date", 80},          {"Age at Test", 40}, {"Tested by", 40},
    {"Lab", 40},               {"Screening", 40}, {"Raw Score", 40},    {"Standard Score", 40},
    {"Age-Equivalent", 40},    {"Percentile", 40}, {"SD", 40},          {"Other", 40}};

} // namespace

CFormSLL::CFormSLL(QWidget* parent, CCreateContext* context)
    : LazyFilledForm(res::IDD_FORM_SLL, parent, context)
{
    setObjectName(QStringLiteral("CFormSLL"));
    m_pList = framework::FindControlAs<CReportListCtrl>(this, IDC_LIST);
    int index = 0;
    for (const Column& column : kColumns)
        m_pList->InsertColumn(index++, QString::fromLatin1(column.title), CReportListCtrl::FormatLeft, column.width);
    // The id only finds a row's test again; nobody reads it.
    m_pList->setColumnHidden(quorin::kSpeechTestIdColumn, true);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    if (CQuorinDoc* doc = GetDocument())
        doc->SllLoaded = 0;
    // An answer the user changes is an edit of the subject, chosen or typed.
    for (int id : {IDC_PAST_SPEECH, IDC_CURRENT_SPEECH}) {
        auto combo = framework::FindControlAs<QComboBox>(this, id);
        connect(combo, &QComboBox::activated, this, [this] { MarkModified(); });
        if (combo->lineEdit())
            connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this] { MarkModified(); });
    }
    connect(framework::FindControlAs<QPushButton>(this, IDC_ADD), &QPushButton::clicked, this, [this] { OnAdd(); });
    connect(framework::FindControlAs<QPushButton>(this, IDC_EDIT), &QPushButton::clicked, this, [this] { OnEdit(); });
    connect(framework::FindControlAs<QPushButton>(this, IDC_DELETE), &QPushButton::clicked, this,
            [this] { OnDelete(); });
}

void CFormSLL::MarkModified()
{
    if (CQuorinDoc* doc = GetDocument())
        doc->m_subject.Modified = 1;
}

void CFormSLL::DoDataExchange(CDataExchange* pDX)
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    if (!pDX->m_bSaveAndValidate) {
        m_strCurrentSpeech = doc->m_subject.CurrentSpeech;
        m_strPastSpeech = doc->m_subject.PastSpeech;
    }
    DDX_CBString(pDX, IDC_CURRENT_SPEECH, m_strCurrentSpeech);
    DDX_CBString(pDX, IDC_PAST_SPEECH, m_strPastSpeech);
    if (pDX->m_bSaveAndValidate) {
        doc->m_subject.CurrentSpeech = m_strCurrentSpeech;
        doc->m_subject.PastSpeech = m_strPastSpeech;
    }
}

int& CFormSLL::ShownFlag(CQuorinDoc& document) const
{
    return document.SllLoaded;
}

bool CFormSLL::OnShownUpdate(int hint)
{
    switch (hint) {
    case HintHandOver: return UpdateData(true);
    case HintShowAudiogram: UpdateData(false); return true;
    case HintSpeechTestsStored: FillList(); return true;
    default: return true;
    }
}

void CFormSLL::FillList()
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    const std::optional<int> selected = SelectedTestId();
    m_pList->DeleteAllItems();
    int row = 0;
    for (const CSpeechTest& test : doc->m_speechTestList) {
        const QStringList texts = quorin::SpeechTestRowTexts(test);
        const int item = m_pList->InsertItem(row++, texts[0]);
        for (int column = 1; column < texts.size(); ++column)
            m_pList->SetItemText(item, column, texts[column]);
    }
    if (selected)
        SelectTest(*selected);
}

std::optional<int> CFormSLL::SelectedTestId() const
{
    const int row = m_pList->GetFirstSelectedItem();
    if (row < 0)
        return std::nullopt;
    return m_pList->GetItemText(row, quorin::kSpeechTestIdColumn).toInt();
}

void CFormSLL::SelectTest(int testId)
{
    const QString id = QString::number(testId);
    for (int row = 0; row < m_pList->GetItemCount(); ++row) {
        if (m_pList->GetItemText(row, quorin::kSpeechTestIdColumn) == id) {
            m_pList->SelectItem(row);
            return;
        }
    }
}

bool CFormSLL::RunSpeechTestDialog(CSpeechTest& test)
{
    CSpeechTestDlg dialog(*GetDocument(), test, this);
    if (dialog.DoModal() != CTemplateDialog::IDOK)
        return false;
    test = dialog.Test();
    return true;
}

void CFormSLL::OnAdd()
{
    CQuorinDoc* doc = GetDocument();
    if (!doc || !quorin::AddSpeechTest(*doc, [this](CSpeechTest& t) { return RunSpeechTestDialog(t); }))
        return;
    FillList();
    SelectTest(doc->m_speechTestList.back().TestId);
}

void CFormSLL::OnEdit()
{
    CQuorinDoc* doc = GetDocument();
    if (doc && quorin::EditSpeechTest(*doc, SelectedTestId(), [this](CSpeechTest& t) { return RunSpeechTestDialog(t); }))
        FillList();
}

void CFormSLL::OnDelete()
{
    CQuorinDoc* doc = GetDocument();
    if (doc && quorin::DeleteSpeechTest(*doc, SelectedTestId()))
        FillList();
}
