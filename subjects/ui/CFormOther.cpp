#include "subjects/ui/CFormOther.h"

#include "document/CQuorinDoc.h"
#include "rules/DateText.h"
#include "document/SessionValues.h"
#include "controls/DdxFields.h"
#include "controls/DdxStoredCode.h"
#include "framework/ControlId.h"
#include "framework/DdxStandard.h"
#include "framework/ReportListCtrl.h"
#include "resources/Resource.h"
#include "subjects/ui/SubjectTemplates.h"
#include "subjects/ui/ParticipationCodes.h"
#include "subjects/store/SubjectIdentity.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

using namespace res::other;
using quorin::ParticipationCodeText;
using quorin::ParticipationField;
using quorin::UserInterface;

namespace {

struct Column {
    const char* title;
    int width;
};

constexpr Column kColumns[] = {{"IRB", 50},      {"Contacted", 40}, {"Participated", 40}, {"Date", 70},
                               {"Date", 70},     {"Appt", 40},      {"Show", 50},         {"Completed", 40},
                               {"CallAgain", 40}, {"Lab", 80},      {"Dataset", 80},      {"Feedback Date", 80}};

constexpr int kDatasetColumn = 10;

constexpr int kAvailability[] = {IDC_LONGTERM, IDC_SHORTTERM, IDC_WORKDAY, IDC_EVENINGS, IDC_WEEKENDS, IDC_OTHER};

} // namespace

CFormOther::CFormOther(QWidget* parent, CCreateContext* context)
    : TVisualFormView(res::IDD_FORM_OTHER, parent, context)
{
    setObjectName(QStringLiteral("CFormOther"));
    m_pList = framework::FindControlAs<CReportListCtrl>(this, IDC_LIST);
    InsertColumns();
    m_pList->viewport()->installEventFilter(this);
    if (CQuorinDoc* doc = GetDocument())
        doc->ParticipationLoaded = 0;
    for (int id : kAvailability) {
        connect(framework::FindControlAs<QCheckBox>(this, id), &QCheckBox::clicked, this, [this] {
            if (GetDocument())
                GetDocument()->m_subject.Modified = 1;
        });
    }
    connect(framework::FindControlAs<QPushButton>(this, IDC_UPDATE), &QPushButton::clicked, this,
            [this] { OnUpdateRow(); });
}

void CFormOther::InsertColumns()
{
    int index = 0;
    for (const Column& column : kColumns)
        m_pList->InsertColumn(index++, QString::fromLatin1(column.title), CReportListCtrl::FormatLeft, column.width);
}

void CFormOther::DoDataExchange(CDataExchange* pDX)
{
    CQuorinDoc* doc = GetDocument();
    if (doc && !pDX->m_bSaveAndValidate) {
        const CSubject& s = doc->m_subject;
        m_nLongterm = s.Longterm;
        m_nShortterm = s.Shortterm;
        m_nWorkday = s.Workday;
        m_nEvenings = s.Evenings;
        m_nWeekends = s.Weekends;
        m_nOther = s.Other;
    }
    DDX_Check(pDX, IDC_LONGTERM, m_nLongterm);
    DDX_Check(pDX, IDC_SHORTTERM, m_nShortterm);
    DDX_Check(pDX, IDC_WORKDAY, m_nWorkday);
    DDX_Check(pDX, IDC_EVENINGS, m_nEvenings);
    DDX_Check(pDX, IDC_WEEKENDS, m_nWeekends);
    DDX_Check(pDX, IDC_OTHER, m_nOther);
    if (doc && pDX->m_bSaveAndValidate) {
        CSubject& s = doc->m_subject;
        s.Longterm = m_nLongterm;
        s.Shortterm = m_nShortterm;
        s.Workday = m_nWorkday;
        s.Evenings = m_nEvenings;
        s.Weekends = m_nWeekends;
        s.Other = m_nOther;
    }
    DDX_CBString(pDX, IDC_PROJECT, m_strProject);
    DDX_CBString(pDX, IDC_GRANT, m_strGrant);
    // An empty date leaves a date control as it is; the row's fields must not keep the
    // dates of the row edited before.
    if (!pDX->m_bSaveAndValidate) {
        if (m_strDate1.isEmpty())
            framework::SetWindowText(framework::FindControl(this, IDC_DATE1), QString());
        if (m_strDate2.isEmpty())
            framework::SetWindowText(framework::FindControl(this, IDC_DATE2), QString());
    }
    DDX_DateField(pDX, IDC_DATE1, m_strDate1);
    DDX_DateField(pDX, IDC_DATE2, m_strDate2);
    DDX_IntField(pDX, IDC_SESSIONS, m_nSessions);
    DDX_StoredCodeIndex(pDX, IDC_CONTACTED, m_nContacted);
    DDX_Text(pDX, IDC_EXCONTACT, m_strExContact);
    DDX_StoredCodeIndex(pDX, IDC_PARTICIPATED, m_nParticipated);
    DDX_Text(pDX, IDC_EXPARTIC, m_strExPartic);
    DDX_StoredCodeIndex(pDX, IDC_COMPLETED, m_nCompleted);
    DDX_Text(pDX, IDC_COMMENTS, m_strComments);
    DDX_StoredCodeIndex(pDX, IDC_APPTS, m_nAppts);
    DDX_StoredCodeIndex(pDX, IDC_SHOW, m_nShow);
    DDX_StoredCodeIndex(pDX, IDC_CALLAGAIN, m_nCallAgain);
    DDX_Text(pDX, IDC_FDATE, m_strFDate);
    DDX_CBString(pDX, IDC_LAB, m_strLab);
}

void CFormOther::ForgetPickedRow()
{
    m_strIrb.clear();
    m_strDataset.clear();
}

void CFormOther::ResetRowFields()
{
    m_nContacted = m_nParticipated = m_nCompleted = m_nAppts = m_nShow = m_nCallAgain = -1;
    m_nSessions = -1;
    m_strProject.clear();
    m_strGrant.clear();
    m_strDate1.clear();
    m_strDate2.clear();
    m_strExContact.clear();
    m_strExPartic.clear();
    m_strComments.clear();
    m_strFDate.clear();
    m_strLab.clear();
    ForgetPickedRow();
}

void CFormOther::ShowDocumentData()
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    UpdateData(false);
    LoadList();
    doc->ParticipationLoaded = 1;
}

bool CFormOther::OnUpdate(int hint)
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return true;
    if (!doc->ParticipationLoaded) {
        // A subject loaded while the tab is on screen shows at once, not at the next
        // visit of the tab.
        if (hint == HintRefresh && isVisible())
            ShowDocumentData();
        return true;
    }
    switch (hint) {
    case HintHandOver: return UpdateData(true);
    case HintShowAudiogram: UpdateData(false); return true;
    case HintRefresh:
        ResetRowFields();
        UpdateData(false);
        return true;
    default: return true;
    }
}

void CFormOther::showEvent(QShowEvent* event)
{
    TVisualFormView::showEvent(event);
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    // Showing the tab activates the view: a row picked before is forgotten.
    ForgetPickedRow();
    if (!doc->ParticipationLoaded)
        ShowDocumentData();
    // The guard may switch tabs and show a box; both wait until the tab change that
    // showed this page has finished.
    QPointer<CFormOther> self(this);
    QTimer::singleShot(0, this, [self] {
        if (self && self->isVisible())
            self->CheckIdentity();
    });
}

bool CFormOther::CheckIdentity()
{
    CQuorinDoc* doc = GetDocument();
    return !doc || quorin::CheckSubjectIdentity(*doc);
}

void CFormOther::LoadList()
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    m_pList->DeleteAllItems();
    MyADO& db = doc->m_db;
    db.BindIntParam("@SubjectId", doc->m_subject.SubjectID);
    db.BindStringParam("@Irb", "none");
    db.BindStringParam("@Dataset", "none");
    if (db.RunStoredProcedure("uspLoadFeedback")) {
        for (int row = 0; !db.IsEOF(); db.MoveNext(), ++row) {
            const int item = m_pList->InsertItem(row, quorin::StringField(db, "Irb"));
            auto code = [&db](const char* column, ParticipationField field) {
                return ParticipationCodeText(field, db.GetIntField(column));
            };
            m_pList->SetItemText(item, 1, code("Contacted", ParticipationField::Contacted));
            m_pList->SetItemText(item, 2, code("Participate", ParticipationField::Participated));
            m_pList->SetItemText(item, 3, quorin::StringField(db, "Date1"));
            m_pList->SetItemText(item, 4, quorin::StringField(db, "Date2"));
            m_pList->SetItemText(item, 5, code("Appts", ParticipationField::Appts));
            m_pList->SetItemText(item, 6, code("Show", ParticipationField::Show));
            m_pList->SetItemText(item, 7, code("Completed", ParticipationField::Completed));
            m_pList->SetItemText(item, 8, code("CallAgain", ParticipationField::CallAgain));
            m_pList->SetItemText(item, 9, quorin::StringField(db, "Lab"));
            m_pList->SetItemText(item, 10, quorin::StringField(db, "Dataset"));
            m_pList->SetItemText(item, 11, quorin::StringField(db, "FDate"));
        }
    }
    db.RemoveParams();
}

void CFormOther::OnPickRow()
{
    CQuorinDoc* doc = GetDocument();
    if (!doc || !UpdateData(true))
        return;
    const int row = m_pList->GetFirstSelectedItem();
    if (row < 0) {
        doc->UI().MessageBox(QStringLiteral("Please make a selection!"), UserInterface::Icon::Stop);
        return;
    }
    m_strIrb = m_pList->GetItemText(row, 0);
    m_strDataset = m_pList->GetItemText(row, kDatasetColumn);
    MyADO& db = doc->m_db;
    db.BindIntParam("@SubjectId", doc->m_subject.SubjectID);
    quorin::BindString(db, "@Irb", m_strIrb);
    quorin::BindString(db, "@Dataset", m_strDataset);
    if (quorin::HasRow(db, db.RunStoredProcedure("uspLoadFeedback"))) {
        m_strProject = quorin::StringField(db, "ProjectTitle");
        m_strGrant = quorin::StringField(db, "GrantNo");
        m_nContacted = db.GetIntField("Contacted");
        m_strExContact = quorin::StringField(db, "ExContact");
        m_nParticipated = db.GetIntField("Participate");
        m_strExPartic = quorin::StringField(db, "ExPartic");
        m_nAppts = db.GetIntField("Appts");
        m_nShow = db.GetIntField("Show");
        m_nCompleted = db.GetIntField("Completed");
        m_nCallAgain = db.GetIntField("CallAgain");
        m_strDate1 = quorin::StringField(db, "Date1");
        m_strDate2 = quorin::StringField(db, "Date2");
        m_strLab = quorin::StringField(db, "Lab");
        m_nSessions = db.GetIntField("Sessions");
        m_strComments = quorin::StringField(db, "Comments");
        m_strFDate = quorin::StringField(db, "FDate");
        UpdateData(false);
    }
    db.RemoveParams();
}

void CFormOther::OnUpdateRow()
{
    CQuorinDoc* doc = GetDocument();
    if (!doc || m_strIrb.isEmpty())
        return;
    if (!UpdateData(true))
        return;
    MyADO& db = doc->m_db;
    db.BindIntParam("@SubjectId", doc->m_subject.SubjectID);
    quorin::BindString(db, "@Irb", m_strIrb);
    quorin::BindString(db, "@Dataset", m_strDataset);
    db.BindIntParam("@Contact", m_nContacted);
    quorin::BindString(db, "@ExContact", m_strExContact);
    db.BindIntParam("@Participated", m_nParticipated);
    quorin::BindString(db, "@ExParticipated", m_strExPartic);
    quorin::BindString(db, "@Date1", quorin::DbDate(m_strDate1));
    quorin::BindString(db, "@Date2", quorin::DbDate(m_strDate2));
    db.BindIntParam("@Show", m_nShow);
    db.BindIntParam("@Appts", m_nAppts);
    db.BindIntParam("@Completed", m_nCompleted);
    db.BindIntParam("@Call", m_nCallAgain);
    quorin::BindString(db, "@Lab", m_strLab);
    db.BindIntParam("@Done", 0);
    db.BindIntParam("@Sessions", m_nSessions);
    quorin::BindString(db, "@Comments", m_strComments);
    db.RunStoredProcedure("uspUpdateFeedback");
    db.RemoveParams();
    ResetRowFields();
    UpdateData(false);
    LoadList();
}

bool CFormOther::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pList->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // Let the list select the row under the mouse first.
        const bool handled = TVisualFormView::eventFilter(watched, event);
        QPointer<CFormOther> self(this);
        QTimer::singleShot(0, this, [self] {
            if (self)
                self->OnPickRow();
        });
        return handled;
    }
    return TVisualFormView::eventFilter(watched, event);
}
