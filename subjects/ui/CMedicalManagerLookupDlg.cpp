#include "subjects/ui/CMedicalManagerLookupDlg.h"

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"
#include "rules/SqlText.h"
#include "framework/ControlId.h"
#include "framework/ReportListCtrl.h"
#include "subjects/ui/SubjectTemplates.h"
#include "subjects/ui/CFormSubject.h"

using quorin::UserInterface;

namespace {

QString TrimmedRight(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).isSpace())
        --end;
    return text.left(end);
}

const char* const kPatientQuery =
    "SELECT TOP 200 TPSpat.TPSPataddr1 AS Address1, TPSpat.TPSPataddr2 AS Address2, TPSpat.TPSPatcity AS City, "
    "TPSpat.TPSPatstate AS State, TPSpat.TPSPatzip AS Zip, TPSpat.TPSPatphone AS Phone1, "
    "TPSpat.TPSPatworkphone AS Phone2, TPpm.TPSpmsex AS Sex, TPpm.TPSpmid AS Unit FROM TPSpat INNER JOIN TPpm "
    "ON TPSpat.TPSPataccount = TPpm.TPSpmaccount WHERE TPpm.TPSpmid like '%1%'";

} // namespace

CMedicalManagerLookupDlg::CMedicalManagerLookupDlg(CFormSubject& form)
    : CTemplateDialog(res::IDD_MM_LOOKUP, &form), m_form(form)
{
    m_pList = framework::FindControlAs<CReportListCtrl>(this, res::lookup::IDC_LIST);
}

void CMedicalManagerLookupDlg::OnInitDialog()
{
    m_pList->InsertColumn(0, QStringLiteral("Name"), CReportListCtrl::FormatLeft, 140);
    m_pList->InsertColumn(1, QStringLiteral("Unit"), CReportListCtrl::FormatLeft, 72);
    m_pList->InsertColumn(2, QStringLiteral("Birth Date"), CReportListCtrl::FormatLeft, 72);
    if (!m_mmDb.IsConnected() && m_form.GetDocument())
        m_form.GetDocument()->UI().MessageBox(QStringLiteral("Unable to connect to Medical Manager Server!"),
                                              UserInterface::Icon::Stop);
}

void CMedicalManagerLookupDlg::OnOK()
{
    const int row = m_pList->GetFirstSelectedItem();
    if (row < 0) {
        if (m_form.GetDocument())
            m_form.GetDocument()->UI().MessageBox(QStringLiteral("Please Make Selection From First Column"),
                                                  UserInterface::Icon::Stop);
        return;
    }
    QString last = TrimmedRight(m_pList->GetItemText(row, 0));
    QString first;
    const qsizetype comma = last.indexOf(QLatin1Char(','));
    if (comma > 0) {
        first = last.mid(comma + 1).trimmed();
        last = last.left(comma);
    }
    m_strMmId = TrimmedRight(m_pList->GetItemText(row, 1));
    const QString birth = TrimmedRight(m_pList->GetItemText(row, 2));
    if (m_strMmId.isEmpty())
        return;
    FillForm(last, first, birth, m_strMmId);
    accept();
}

void CMedicalManagerLookupDlg::FillForm(const QString& last, const QString& first, const QString& birth,
                                        const QString& id)
{
    const QString sql = QString::fromLatin1(kPatientQuery).arg(quorin::sql::LikeText(id));
    if (!quorin::RunText(m_mmDb, sql) || m_mmDb.IsEOF())
        return;
    CFormSubject& f = m_form;
    f.m_strLast = last;
    f.m_strFirst = first;
    f.m_strBirth = birth;
    f.m_strUnit = id;
    f.m_strAddress = QStringLiteral("%1 %2").arg(quorin::StringField(m_mmDb, "Address1"),
                                                 quorin::StringField(m_mmDb, "Address2"));
    f.m_strCity = quorin::StringField(m_mmDb, "City");
    f.m_strState = quorin::StringField(m_mmDb, "State");
    f.m_strZip = quorin::StringField(m_mmDb, "Zip");
    const QString phone1 = quorin::StringField(m_mmDb, "Phone1");
    const QString phone2 = quorin::StringField(m_mmDb, "Phone2");
    f.m_strPhone1 = phone1;
    if (phone1 != QLatin1String("0"))
        f.m_strPhone1Type = QStringLiteral("Home");
    f.m_strPhone2 = phone2;
    if (phone2 != QLatin1String("0"))
        f.m_strPhone2Type = QStringLiteral("Work");
    const QString sex = quorin::StringField(m_mmDb, "Sex");
    if (sex == QLatin1String("M"))
        f.m_strGender = QStringLiteral("Male");
    else if (sex == QLatin1String("F"))
        f.m_strGender = QStringLiteral("Female");
    m_bFilled = true;
}
