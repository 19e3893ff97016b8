// The Subject tab's two directions: refreshing from the document, and handing the
// user's edits over to it with the date checks.

#include "subjects/ui/CFormSubject.h"
#include "controls/DateMessages.h"

#include "document/CQuorinDoc.h"
#include "framework/DdxStandard.h"
#include "subjects/ui/SubjectTemplates.h"

#include <QComboBox>
#include <QLineEdit>

using namespace res::subject;

namespace {

const QString kNotReported = QStringLiteral("Not Reported");

QString OrNotReported(const QString& value)
{
    return value.isEmpty() ? kNotReported : value;
}

} // namespace

void CFormSubject::DoDataExchange(CDataExchange* pDX)
{
    // The id is shown only; the "?" button reads what is typed there.
    if (!pDX->m_bSaveAndValidate)
        DDX_Text(pDX, IDC_SUBJECTID, m_nSubjectId);
    DDX_Text(pDX, IDC_LAST, m_strLast);
    DDX_Text(pDX, IDC_FIRST, m_strFirst);
    DDX_Text(pDX, IDC_PARENT, m_strParent);
    DDX_Text(pDX, IDC_UNIT, m_strUnit);
    DDX_CBString(pDX, IDC_GENDER, m_strGender);
    DDX_CBString(pDX, IDC_ETHNICITY, m_strEthnicity);
    DDX_CBString(pDX, IDC_RACE, m_strRace);
    DDX_Text(pDX, IDC_BIRTH, m_strBirth);
    DDX_Text(pDX, IDC_ADDRESS, m_strAddress);
    DDX_Text(pDX, IDC_CITY, m_strCity);
    DDX_Text(pDX, IDC_STATE, m_strState);
    DDX_Text(pDX, IDC_ZIP, m_strZip);
    DDX_Text(pDX, IDC_EMAIL, m_strEmail);
    DDX_Text(pDX, IDC_PHONE1, m_strPhone1);
    DDX_CBString(pDX, IDC_PHONE1_TYPE, m_strPhone1Type);
    DDX_Text(pDX, IDC_PHONE2, m_strPhone2);
    DDX_CBString(pDX, IDC_PHONE2_TYPE, m_strPhone2Type);
    DDX_CBString(pDX, IDC_CONTACT, m_strContact);
    DDX_Text(pDX, IDC_NOTES, m_strNotes);
    DDX_CBString(pDX, IDC_SCHOOL, m_strSchool);
    DDX_CBString(pDX, IDC_LANGUAGE, m_strLanguage);
    DDX_CBString(pDX, IDC_BILINGUAL, m_strBilingual);
    DDX_CBString(pDX, IDC_HEARING, m_strHearing);
    DDX_CBString(pDX, IDC_LOSSTYPE, m_strLossType);
    DDX_CBString(pDX, IDC_IMPLANT, m_strImplant);
    DDX_CBString(pDX, IDC_BILATERAL, m_strBilateral);
    DDX_CBString(pDX, IDC_SCREENING, m_strScreening);
    DDX_Text(pDX, IDC_DATE_ENTRY, m_strDateEntry);
    DDX_Text(pDX, IDC_DATE_UPDATE, m_strDateUpdate);
    DDX_Text(pDX, IDC_ENTERED_BY, m_strEnteredBy);
    DDX_CBIndex(pDX, IDC_STATUS, m_nStatus);
    DDX_CBString(pDX, IDC_RECRUITMENT, m_strRecruitment);
    DDX_Text(pDX, IDC_DATE_INITIAL, m_strDateInitial);
    DDX_Text(pDX, IDC_DATE_LAST, m_strDateLast);
    DDX_Text(pDX, IDC_STUDY, m_strStudy);
    DDX_Text(pDX, IDC_PARTICIPATION, m_strParticipation);
    DDX_Text(pDX, IDC_LETTER_SENT, m_strLetterSent);
    DDX_Text(pDX, IDC_LETTER_RETURNED, m_strLetterReturned);
}

void CFormSubject::ShowMembers()
{
    const bool wasRefreshing = m_bRefreshing;
    m_bRefreshing = true;
    UpdateData(false);
    m_bRefreshing = wasRefreshing;
}

void CFormSubject::ReadControls()
{
    UpdateData(true);
}

void CFormSubject::RefreshFromDocument()
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    ShowNoticeIcon();
    const CSubject& s = doc->m_subject;
    m_nSubjectId = s.SubjectID >= 1 ? s.SubjectID : 0;
    m_strLast = s.Lastname;
    m_strFirst = s.Firstname;
    m_strParent = s.Parent;
    m_strUnit = s.Unit;
    m_strGender = s.Sex;
    m_strEthnicity = s.Ethnicity;
    m_strRace = s.Race;
    m_strBirth = s.Birth;
    m_strAddress = s.Address;
    m_strCity = s.City;
    m_strState = s.State;
    m_strZip = s.Zip == QLatin1String("0") ? QString() : s.Zip;
    m_strEmail = s.Email;
    m_strPhone1 = s.Phone1;
    m_strPhone1Type = s.Phone1Type;
    m_strPhone2 = s.Phone2;
    m_strPhone2Type = s.Phone2Type;
    m_strContact = s.Contact;
    m_strNotes = s.Notes;
    m_strSchool = s.School;
    m_strLanguage = s.PrimaryLang;
    m_strBilingual = s.Bilingual;
    m_strHearing = s.PatImpression;
    m_strLossType = s.LossType;
    m_strImplant = s.CochlearImplant;
    m_strBilateral = s.Cochlear;
    m_strScreening = s.ScreeningImpr;
    m_strDateEntry = s.DateEntry;
    m_strDateUpdate = s.DateUpdate;
    m_strEnteredBy = s.EnteredBy;
    m_nStatus = s.Status;
    m_strRecruitment = s.Recruitment;
    m_strDateInitial = s.DateInitial;
    m_strDateLast = s.DateLast;
    m_strStudy = s.Irb;
    m_strParticipation = s.ParticDate;
    m_strLetterSent = s.LetterSent;
    m_strLetterReturned = s.LetterReturned;
    Combo(IDC_BILATERAL)->setEnabled(s.CochlearImplant == QLatin1String("Yes"));
    Combo(IDC_IMPLANT)->setEnabled(s.PatImpression == QLatin1String("Hearing Impaired"));
    ShowMembers();
}

bool CFormSubject::CheckedDate(int id, const QString& text, const QString& invalidMessage)
{
    if (GetDocument()->IsValidDate(text))
        return true;
    ShowError(invalidMessage);
    ReturnFocusToField(Edit(id));
    return false;
}

bool CFormSubject::SaveToDocument()
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return true;
    ShowNoticeIcon();
    ReadControls();
    if (m_strUnit.isEmpty())
        m_strUnit = QStringLiteral("0");
    m_lastAddress = {m_strAddress, m_strCity,  m_strState,  m_strZip,
                     m_strPhone1,  m_strPhone1Type, m_strPhone2, m_strPhone2Type};

    CSubject& s = doc->m_subject;
    s.Address = m_strAddress;
    s.Birth = m_strBirth;
    s.City = m_strCity;
    // A date the registry cannot store is refused here, with the message the field gives
    // when it is left, rather than by the database when the subject is written.
    if (!CheckedDate(IDC_BIRTH, m_strBirth, quorin::InvalidDateMessage()))
        return false;
    if (!CheckedDate(IDC_DATE_ENTRY, m_strDateEntry, QStringLiteral("Invalid Date of Entry!")))
        return false;
    s.DateEntry = m_strDateEntry;
    if (!CheckedDate(IDC_DATE_INITIAL, m_strDateInitial, QStringLiteral("Invalid Inital Date of Consent!")))
        return false;
    if (m_strDateInitial.isEmpty()) {
        ShowError(QStringLiteral("You must enter an Initial Date of Consent!"));
        ReturnFocusToField(Edit(IDC_DATE_INITIAL));
        return false;
    }
    s.DateInitial = m_strDateInitial;
    if (!CheckedDate(IDC_DATE_LAST, m_strDateLast, QStringLiteral("Invalid Last Date of Consent!")))
        return false;
    s.DateLast = m_strDateLast;
    if (!CheckedDate(IDC_LETTER_SENT, m_strLetterSent, quorin::InvalidDateMessage()))
        return false;
    // "NR" (no reply) is stored as the not-applicable date.
    if (m_strLetterReturned.compare(QLatin1String("NR"), Qt::CaseInsensitive) != 0
        && !CheckedDate(IDC_LETTER_RETURNED, m_strLetterReturned, quorin::InvalidDateMessage()))
        return false;
    s.DateUpdate = doc->Today();

    s.Email = m_strEmail;
    s.EnteredBy = m_strEnteredBy;
    s.Ethnicity = OrNotReported(m_strEthnicity);
    s.Race = OrNotReported(m_strRace);
    s.Sex = OrNotReported(m_strGender);
    s.Firstname = m_strFirst;
    s.PrimaryLang = m_strLanguage;
    s.Lastname = m_strLast;
    s.Notes = m_strNotes;
    s.ParticDate = m_strParticipation;
    s.PatImpression = m_strHearing;
    // The placeholder is a hint to the user, not a phone number.
    s.Phone1 = m_strPhone1 == kPhonePlaceholder ? QString() : m_strPhone1;
    s.Phone1Type = m_strPhone1Type;
    s.Phone2 = m_strPhone2 == kPhonePlaceholder ? QString() : m_strPhone2;
    s.Phone2Type = m_strPhone2Type;
    s.State = m_strState;
    s.Unit = m_strUnit;
    s.Status = m_nStatus;
    s.Zip = m_strZip;
    s.Recruitment = m_strRecruitment;
    s.ScreeningImpr = m_strScreening;
    s.Parent = m_strParent;
    s.Contact = m_strContact;
    s.LetterSent = m_strLetterSent;
    s.LetterReturned = m_strLetterReturned;
    s.Bilingual = m_strBilingual;
    s.LossType = m_strLossType;
    s.Cochlear = m_strBilateral;
    s.CochlearImplant = m_strImplant;
    s.School = m_strSchool;

    // The tab shows the update date the save is about to write.
    m_strDateUpdate = s.DateUpdate;
    const bool wasRefreshing = m_bRefreshing;
    m_bRefreshing = true;
    Edit(IDC_DATE_UPDATE)->setText(m_strDateUpdate);
    m_bRefreshing = wasRefreshing;
    return true;
}
