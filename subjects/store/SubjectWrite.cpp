// Writing the subject row, and its status into the Audiogram Manager.

#include "document/CQuorinDoc.h"
#include "rules/DateText.h"
#include "rules/AtoI.h"
#include "document/SessionValues.h"
#include "rules/SqlText.h"
#include "rules/KvNumber.h"
#include "subjects/record/AmStatus.h"

using quorin::BindString;
using quorin::DbDate;
using quorin::HasRow;

int CQuorinDoc::WriteSubject()
{
    CSubject& s = m_subject;

    int zone = 10; // the zone of a zip the table does not know
    m_db.BindIntParam("@zip", quorin::AtoI(s.Zip));
    if (HasRow(m_db, m_db.RunStoredProcedure("uspGetZone")))
        zone = m_db.GetIntField("DZone");
    m_db.RemoveParams();

    s.LetterReturned = s.LetterReturned.toUpper();
    if (s.LetterReturned == QLatin1String("NR"))
        s.LetterReturned = QStringLiteral("01/01/1901");
    if (s.DateEntry.isEmpty())
        s.DateEntry = s.DateInitial;
    if (s.DateLast.isEmpty())
        s.DateLast = s.DateInitial;

    const bool isNew = s.SubjectID == -1;
    if (!isNew)
        m_db.BindIntParam("@id", s.SubjectID);
    BindString(m_db, "@last", s.Lastname);
    BindString(m_db, "@first", s.Firstname);
    m_db.BindIntParam("@unit", quorin::AtoI(s.Unit));
    BindString(m_db, "@birth", DbDate(s.Birth));
    BindString(m_db, "@sex", s.Sex);
    BindString(m_db, "@ethnicity", s.Ethnicity);
    BindString(m_db, "@race", s.Race);
    BindString(m_db, "@address", s.Address);
    BindString(m_db, "@city", s.City);
    BindString(m_db, "@state", s.State);
    m_db.BindIntParam("@zip", quorin::AtoI(s.Zip));
    BindString(m_db, "@phone1", s.Phone1);
    BindString(m_db, "@phone1type", s.Phone1Type);
    BindString(m_db, "@phone2", s.Phone2);
    BindString(m_db, "@phone2type", s.Phone2Type);
    BindString(m_db, "@email", s.Email);
    BindString(m_db, "@primarylang", s.PrimaryLang);
    BindString(m_db, "@patImpress", s.PatImpression);
    BindString(m_db, "@DateofEntry", DbDate(s.DateEntry));
    BindString(m_db, "@LastUpdate", Today());
    BindString(m_db, "@Enteredby", s.EnteredBy);
    m_db.BindIntParam("@status", s.Status);
    BindString(m_db, "@InitialDate", DbDate(s.DateInitial));
    BindString(m_db, "@LastDate", DbDate(s.DateLast));
    BindString(m_db, "@Notes", s.Notes);
    m_db.BindIntParam("@zone", zone);
    m_db.BindIntParam("@longterm", s.Longterm);
    m_db.BindIntParam("@shortterm", s.Shortterm);
    m_db.BindIntParam("@workday", s.Workday);
    m_db.BindIntParam("@Evenings", s.Evenings);
    m_db.BindIntParam("@weekends", s.Weekends);
    m_db.BindIntParam("@other", s.Other);
    BindString(m_db, "@recruitment", s.Recruitment);
    BindString(m_db, "@screening", s.ScreeningImpr);
    BindString(m_db, "@parent", s.Parent);
    BindString(m_db, "@contact", s.Contact);
    BindString(m_db, "@sent", DbDate(s.LetterSent));
    BindString(m_db, "@returned", DbDate(s.LetterReturned));
    BindString(m_db, "@bilingual", s.Bilingual);
    BindString(m_db, "@losstype", s.LossType);
    BindString(m_db, "@cochlear", s.Cochlear);
    BindString(m_db, "@school", s.School);
    BindString(m_db, "@pastspeech", s.PastSpeech);
    BindString(m_db, "@currentspeech", s.CurrentSpeech);
    BindString(m_db, "@cochlearyesno", s.CochlearImplant);
    const int result = m_db.RunStoredProcedure(isNew ? "uspWriteNewSubject" : "uspUpdateSubject");
    m_db.RemoveParams();

    // In a bulk run the registry transaction may still be rolled back: the status goes
    // out after the commit.
    if (DeferAmStatus)
        AmStatusPending = result ? 1 : 0;
    else
        UpdateAudiogramManagerStatus();
    return result;
}

bool CQuorinDoc::UpdateAudiogramManagerStatus()
{
    // Without a usable KV Number the statement could not name the patient: skip it
    // rather than send a broken one.
    const std::optional<QString> unit = quorin::sql::KvNumber(m_subject.Unit);
    if (!unit)
        return true;
    if (!ConnectAud())
        return false;
    quorin::RunText(m_dbAud,
                    quorin::AmStatusUpdate(m_subject.Status, *unit, quorin::sql::Text(DbDate(m_subject.Birth))));
    return true;
}
