// Loading a subject with everything it has: the subject row, its current study and last
// participation, its current audiogram, implant data and speech tests.

#include "document/CQuorinDoc.h"
#include "rules/DateText.h"
#include "rules/AtoI.h"
#include "document/SessionValues.h"

#include "dalport/Clock.h"

using quorin::BindString;
using quorin::HasRow;
using quorin::StringField;

namespace {

// The stored form of "no letter returned".
const QString kNotReturned = QStringLiteral("01/01/1901");

} // namespace

bool CQuorinDoc::ComputeConsentNotice() const
{
    // The Consent report's own rule, so the icon and the report agree: an active
    // subject whose last registry consent is more than 24 calendar months old.
    if (m_subject.Status != 0)
        return false;
    const std::optional<quorin::DateParts> last = quorin::SplitDate(m_subject.DateLast);
    if (!last)
        return false;
    const dalport::ClockTime now = dalport::ClockNow();
    const int months = (now.year - last->year) * 12 + (now.month - last->month);
    return months > 24;
}

void CQuorinDoc::ReadSubjectRow(bool unitFromRow, const QString& unitArgument)
{
    CSubject& s = m_subject;
    s.SubjectID = m_db.GetIntField("SubjectID");
    s.Address = StringField(m_db, "Address");
    s.Birth = StringField(m_db, "Birth");
    s.City = StringField(m_db, "City");
    s.DateEntry = StringField(m_db, "DateEntry");
    s.DateInitial = StringField(m_db, "DateInitial");
    s.DateLast = StringField(m_db, "DateLast");
    s.DateUpdate = StringField(m_db, "DateUpdate");
    s.Email = StringField(m_db, "Email");
    s.EnteredBy = StringField(m_db, "EnteredBy");
    s.Ethnicity = StringField(m_db, "Ethnicity");
    s.Race = StringField(m_db, "Race");
    s.Firstname = StringField(m_db, "Firstname");
    s.Sex = StringField(m_db, "Sex");
    s.PrimaryLang = StringField(m_db, "PrimaryLang");
    s.Lastname = StringField(m_db, "Lastname");
    s.Notes = StringField(m_db, "Notes");
    s.PatImpression = StringField(m_db, "PatImpression");
    s.Phone1 = StringField(m_db, "Phone1");
    s.Phone1Type = StringField(m_db, "Phone1Type");
    s.Phone2 = StringField(m_db, "Phone2");
    s.Phone2Type = StringField(m_db, "Phone2Type");
    s.State = StringField(m_db, "state");
    s.Unit = unitFromRow ? StringField(m_db, "unit") : unitArgument;
    s.Status = m_db.GetIntField("Status");
    const int zip = m_db.GetIntField("zip");
    s.Zip = zip != 0 ? QString::number(zip) : QString();
    s.Longterm = m_db.GetIntField("Longterm");
    s.Shortterm = m_db.GetIntField("Shortterm");
    s.Workday = m_db.GetIntField("Workday");
    s.Evenings = m_db.GetIntField("Evenings");
    s.Weekends = m_db.GetIntField("Weekends");
    s.Other = m_db.GetIntField("Other");
    s.Recruitment = StringField(m_db, "Recruitment");
    s.ScreeningImpr = StringField(m_db, "ScreeningImpr");
    s.Parent = StringField(m_db, "Parent");
    s.Contact = StringField(m_db, "Contact");
    ConsentNotice = ComputeConsentNotice() ? 1 : 0;
    s.LetterSent = StringField(m_db, "dSent");
    s.LetterReturned = StringField(m_db, "dReturned");
    if (s.LetterReturned == kNotReturned)
        s.LetterReturned = QStringLiteral("NR");
    s.Bilingual = StringField(m_db, "Bilingual");
    s.LossType = StringField(m_db, "LossType");
    s.Cochlear = StringField(m_db, "Cochlear");
    s.School = StringField(m_db, "School");
    s.PastSpeech = StringField(m_db, "PastSpeech");
    s.CurrentSpeech = StringField(m_db, "CurrentSpeech");
    s.CochlearImplant = StringField(m_db, "CochlearImplant");
}

void CQuorinDoc::LoadStudyAndParticipation()
{
    m_db.BindIntParam("@SubjectId", m_subject.SubjectID);
    if (HasRow(m_db, m_db.RunStoredProcedure("uspGetCurrentStudy")))
        m_subject.Irb = StringField(m_db, "Irb");
    if (HasRow(m_db, m_db.RunStoredProcedure("uspGetParticDate")))
        m_subject.ParticDate = StringField(m_db, "aDate");
    m_db.RemoveParams();
}

int CQuorinDoc::LoadSubject(const QString& unitText, const QString& last, const QString& first,
                            const QString& birth)
{
    ClearDocument();
    if (unitText.isEmpty() && last.isEmpty() && first.isEmpty())
        return 0;
    const QString unit = unitText.isEmpty() ? QStringLiteral("0") : unitText;
    m_db.BindIntParam("@unit", quorin::AtoI(unit));
    BindString(m_db, "@last", last);
    BindString(m_db, "@first", first);
    BindString(m_db, "@birth", quorin::DbDate(birth));
    return LoadSubjectRow("uspLoadSubject", false, unit);
}

int CQuorinDoc::LoadSubjectById(int id)
{
    ClearDocument();
    m_db.BindIntParam("@id", id);
    return LoadSubjectRow("uspLoadSubjectbyId", true, QString());
}

int CQuorinDoc::LoadSubjectRow(const char* procedure, bool unitFromRow, const QString& unitArgument)
{
    // The one load of a subject with everything it has, however it was found.
    RefreshSubjectForm = 1;
    int result = m_db.RunStoredProcedure(procedure);
    SubjectLoadFailed = !result;
    if (HasRow(m_db, result))
        ReadSubjectRow(unitFromRow, unitArgument);
    m_db.RemoveParams();
    // The server has said why (a lock held elsewhere, a lost connection): the rest of the
    // subject would only fail the same way, each with its own box and lock wait.
    if (!result)
        return 0;

    LoadStudyAndParticipation();
    result = LoadCurrentAudiogram(m_subject.SubjectID);
    m_audLatest.CopyHistoryAudRecord(m_audCurrent);
    LoadCiData(m_subject.SubjectID);
    LoadSpeechTests(m_subject.SubjectID);
    if (result)
        UpdateAllViews(CDocumentView::HintRefresh);
    return result;
}
