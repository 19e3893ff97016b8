#include "implants/ui/CFormCIDataView.h"

#include "document/CQuorinDoc.h"
#include "framework/ControlId.h"
#include "framework/DdxStandard.h"
#include "framework/ReportListCtrl.h"
#include "implants/ui/CCiDeviceDlg.h"
#include "implants/ui/CCiSpeechDlg.h"
#include "implants/store/CiDataEditing.h"
#include "implants/ui/CiFieldExchange.h"
#include "implants/ui/CiDataTemplates.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

using namespace res::cidata;

namespace {

struct Column {
    const char* title;
    int width;
};

// The device list's first column is the ear, without a heading.
constexpr Column kDeviceColumns[] = {{"", 40},           {"Device", 100},           {"Positioner", 40},
                                     {"Surgery Date", 80}, {"Initial Stim Date", 80}, {"Age @ Implant", 40},
                                     {"Surgeon", 80},    {"Hospital", 80},          {"Status", 80},
                                     {"Date of Explant", 80}};
constexpr Column kPreColumns[] = {{"Pre Op Speech Test", 120}, {"", 1}, {"Name", 40}, {"Condition", 40},
                                  {"Score", 40}};
constexpr Column kPostColumns[] = {{"Post Op Speech Test", 120}, {"", 1},      {"Name", 40},
                                   {"Condition", 40},            {"Score", 40}, {"Time Post-IS", 80}};
// The hidden column of a speech row holds its Index.
constexpr int kIndexColumn = 1;

template <std::size_t N>
void InsertColumns(CReportListCtrl* list, const Column (&columns)[N])
{
    int index = 0;
    for (const Column& column : columns)
        list->InsertColumn(index++, QString::fromLatin1(column.title), CReportListCtrl::FormatLeft, column.width);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
}

constexpr int kEditIds[] = {IDC_DURATION_YEARS_L, IDC_DURATION_MONTHS_L, IDC_HA_YEARS_L,       IDC_HA_MONTHS_L,
                            IDC_UNAIDED_YEARS_L,  IDC_UNAIDED_MONTHS_L,  IDC_DURATION_YEARS_R, IDC_DURATION_MONTHS_R,
                            IDC_HA_YEARS_R,       IDC_HA_MONTHS_R,       IDC_UNAIDED_YEARS_R,  IDC_UNAIDED_MONTHS_R};
constexpr int kComboIds[] = {IDC_DEGREE_L, IDC_ONSET_L,  IDC_ETIOLOGY_L,  IDC_DEGREE_R,
                             IDC_ONSET_R,  IDC_ETIOLOGY_R, IDC_PROCESSOR1, IDC_PROCESSOR2};

} // namespace

CFormCIDataView::CFormCIDataView(QWidget* parent, CCreateContext* context)
    : LazyFilledForm(res::IDD_FORM_CI_DATA, parent, context)
{
    setObjectName(QStringLiteral("CFormCIDataView"));
    m_pDevices = framework::FindControlAs<CReportListCtrl>(this, IDC_DEVICE_LIST);
    m_pPre = framework::FindControlAs<CReportListCtrl>(this, IDC_PRE_LIST);
    m_pPost = framework::FindControlAs<CReportListCtrl>(this, IDC_POST_LIST);
    m_pCheckCid = framework::FindControlAs<QPushButton>(this, IDC_CHECK_CID);
    InsertColumns(m_pDevices, kDeviceColumns);
    InsertColumns(m_pPre, kPreColumns);
    InsertColumns(m_pPost, kPostColumns);
    // The Index only tells stored rows apart; nobody reads it.
    m_pPre->setColumnHidden(kIndexColumn, true);
    m_pPost->setColumnHidden(kIndexColumn, true);
    if (CQuorinDoc* doc = GetDocument())
        doc->CiLoaded = 0;

    // Whatever the user types or chooses is an edit of the subject.
    for (int id : kEditIds) {
        auto edit = framework::FindControlAs<QLineEdit>(this, id);
        connect(edit, &QLineEdit::textEdited, this, [this] { MarkModified(); });
    }
    for (int id : kComboIds) {
        auto combo = framework::FindControlAs<QComboBox>(this, id);
        connect(combo, &QComboBox::activated, this, [this] { MarkModified(); });
        if (combo->lineEdit())
            connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this] { MarkModified(); });
    }

    const auto onClick = [this](int id, auto handler) {
        connect(framework::FindControlAs<QPushButton>(this, id), &QPushButton::clicked, this, handler);
    };
    onClick(IDC_DEVICE_ADD, [this] { OnDeviceAdd(); });
    onClick(IDC_DEVICE_EDIT, [this] { OnDeviceEdit(); });
    onClick(IDC_DEVICE_DELETE, [this] { OnDeviceDelete(); });
    onClick(IDC_PRE_ADD, [this] { OnSpeechAdd(false); });
    onClick(IDC_PRE_EDIT, [this] { OnSpeechEdit(false); });
    onClick(IDC_PRE_DELETE, [this] { OnSpeechDelete(false); });
    onClick(IDC_POST_ADD, [this] { OnSpeechAdd(true); });
    onClick(IDC_POST_EDIT, [this] { OnSpeechEdit(true); });
    onClick(IDC_POST_DELETE, [this] { OnSpeechDelete(true); });
    connect(m_pDevices, &CReportListCtrl::listDoubleClicked, this, [this] { OnDeviceEdit(); });
    connect(m_pPre, &CReportListCtrl::listDoubleClicked, this, [this] { OnSpeechEdit(false); });
    connect(m_pPost, &CReportListCtrl::listDoubleClicked, this, [this] { OnSpeechEdit(true); });
    connect(m_pCheckCid, &QPushButton::clicked, this, [this] { OnCheckCid(); });
}

void CFormCIDataView::SetCheckCidHandler(std::function<void()> handler)
{
    m_checkCid = std::move(handler);
    m_pCheckCid->setEnabled(static_cast<bool>(m_checkCid));
}

void CFormCIDataView::OnCheckCid()
{
    if (!m_checkCid || !GetDocument())
        return;
    m_checkCid();
    ShowDocumentData();
}

void CFormCIDataView::MarkModified()
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    doc->m_subject.Modified = 1;
    // The tab holds edits of the subject it shows: the next save must take them, also
    // when the tab showed a document that was emptied while it was in front.
    doc->CiLoaded = 1;
}

void CFormCIDataView::DoDataExchange(CDataExchange* pDX)
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    // The history goes into the document only when every field passed its check.
    CCiData ci = doc->m_ciData;
    quorin::DDX_YearsMonths(pDX, IDC_DURATION_YEARS_L, IDC_DURATION_MONTHS_L, ci.DurationPriorL);
    DDX_CBString(pDX, IDC_DEGREE_L, ci.DegreePriorL);
    DDX_CBString(pDX, IDC_ONSET_L, ci.NatureL);
    DDX_CBString(pDX, IDC_ETIOLOGY_L, ci.EtiologyL);
    quorin::DDX_YearsMonths(pDX, IDC_HA_YEARS_L, IDC_HA_MONTHS_L, ci.HaTimeL);
    quorin::DDX_YearsMonths(pDX, IDC_UNAIDED_YEARS_L, IDC_UNAIDED_MONTHS_L, ci.DurationUnaidedL);
    quorin::DDX_YearsMonths(pDX, IDC_DURATION_YEARS_R, IDC_DURATION_MONTHS_R, ci.DurationPriorR);
    DDX_CBString(pDX, IDC_DEGREE_R, ci.DegreePriorR);
    DDX_CBString(pDX, IDC_ONSET_R, ci.NatureR);
    DDX_CBString(pDX, IDC_ETIOLOGY_R, ci.EtiologyR);
    quorin::DDX_YearsMonths(pDX, IDC_HA_YEARS_R, IDC_HA_MONTHS_R, ci.HaTimeR);
    quorin::DDX_YearsMonths(pDX, IDC_UNAIDED_YEARS_R, IDC_UNAIDED_MONTHS_R, ci.DurationUnaidedR);
    DDX_CBString(pDX, IDC_PROCESSOR1, ci.Processor1);
    DDX_CBString(pDX, IDC_PROCESSOR2, ci.Processor2);
    if (pDX->m_bSaveAndValidate) {
        ci.HasCiData = 1;
        ci.Devices = std::move(doc->m_ciData.Devices);
        doc->m_ciData = std::move(ci);
    }
}

int& CFormCIDataView::ShownFlag(CQuorinDoc& document) const
{
    return document.CiLoaded;
}

bool CFormCIDataView::OnShownUpdate(int hint)
{
    switch (hint) {
    case HintHandOver: return UpdateData(true);
    case HintShowAudiogram:
        UpdateData(false);
        FillLists();
        return true;
    default: return true;
    }
}

void CFormCIDataView::FillLists()
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    const auto fill = [](CReportListCtrl* list, std::size_t position, int at, const QStringList& texts) {
        const int item = list->InsertItem(at, texts[0]);
        for (int column = 1; column < texts.size(); ++column)
            list->SetItemText(item, column, texts[column]);
        list->SetItemData(item, static_cast<std::intptr_t>(position));
    };

    const std::optional<std::size_t> device = SelectedPosition(m_pDevices);
    m_pDevices->DeleteAllItems();
    const std::vector<CCiDevice>& devices = doc->m_ciData.Devices;
    // Each device goes in at the top: the list shows them newest first.
    for (std::size_t i = 0; i < devices.size(); ++i)
        fill(m_pDevices, i, 0, quorin::CiDeviceRowTexts(devices[i]));
    if (device)
        SelectPosition(m_pDevices, *device);

    const std::optional<std::size_t> pre = SelectedPosition(m_pPre);
    const std::optional<std::size_t> post = SelectedPosition(m_pPost);
    m_pPre->DeleteAllItems();
    m_pPost->DeleteAllItems();
    const std::vector<CCiSpeech>& rows = doc->m_ciSpeechList;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const bool postImplant = !quorin::IsPreImplant(rows[i]);
        CReportListCtrl* list = SpeechList(postImplant);
        fill(list, i, list->GetItemCount(), quorin::CiSpeechRowTexts(rows[i], postImplant));
    }
    if (pre)
        SelectPosition(m_pPre, *pre);
    if (post)
        SelectPosition(m_pPost, *post);
}

std::optional<std::size_t> CFormCIDataView::SelectedPosition(const CReportListCtrl* list)
{
    const int row = list->GetFirstSelectedItem();
    if (row < 0)
        return std::nullopt;
    return static_cast<std::size_t>(list->GetItemData(row));
}

void CFormCIDataView::SelectPosition(CReportListCtrl* list, std::size_t position)
{
    for (int row = 0; row < list->GetItemCount(); ++row) {
        if (static_cast<std::size_t>(list->GetItemData(row)) == position) {
            list->SelectItem(row);
            return;
        }
    }
}

bool CFormCIDataView::RunSpeechDialog(CCiSpeech& row, bool postImplant)
{
    CCiSpeechDlg dialog(*GetDocument(), row, postImplant, this);
    if (dialog.DoModal() != CTemplateDialog::IDOK)
        return false;
    row = dialog.Row();
    return true;
}

bool CFormCIDataView::RunDeviceDialog(CCiDevice& device)
{
    CCiDeviceDlg dialog(*GetDocument(), device, this);
    if (dialog.DoModal() != CTemplateDialog::IDOK)
        return false;
    device = dialog.Device();
    return true;
}

void CFormCIDataView::OnDeviceAdd()
{
    CQuorinDoc* doc = GetDocument();
    if (!doc || !quorin::AddCiDevice(*doc, [this](CCiDevice& d) { return RunDeviceDialog(d); }))
        return;
    FillLists();
    SelectPosition(m_pDevices, doc->m_ciData.Devices.size() - 1);
}

void CFormCIDataView::OnDeviceEdit()
{
    CQuorinDoc* doc = GetDocument();
    if (doc && quorin::EditCiDevice(*doc, SelectedPosition(m_pDevices),
                                    [this](CCiDevice& d) { return RunDeviceDialog(d); }))
        FillLists();
}

void CFormCIDataView::OnDeviceDelete()
{
    CQuorinDoc* doc = GetDocument();
    if (doc && quorin::DeleteCiDevice(*doc, SelectedPosition(m_pDevices))) {
        // Positions after the deleted record moved up: nothing stays selected.
        m_pDevices->clearSelection();
        FillLists();
    }
}

void CFormCIDataView::OnSpeechAdd(bool postImplant)
{
    CQuorinDoc* doc = GetDocument();
    if (!doc
        || !quorin::AddCiSpeech(*doc, postImplant,
                                [this, postImplant](CCiSpeech& r) { return RunSpeechDialog(r, postImplant); }))
        return;
    FillLists();
    SelectPosition(SpeechList(postImplant), doc->m_ciSpeechList.size() - 1);
}

void CFormCIDataView::OnSpeechEdit(bool postImplant)
{
    CQuorinDoc* doc = GetDocument();
    if (doc
        && quorin::EditCiSpeech(*doc, SelectedPosition(SpeechList(postImplant)),
                                [this, postImplant](CCiSpeech& r) { return RunSpeechDialog(r, postImplant); }))
        FillLists();
}

void CFormCIDataView::OnSpeechDelete(bool postImplant)
{
    CQuorinDoc* doc = GetDocument();
    if (doc && quorin::DeleteCiSpeech(*doc, SelectedPosition(SpeechList(postImplant)))) {
        m_pPre->clearSelection();
        m_pPost->clearSelection();
        FillLists();
    }
}
