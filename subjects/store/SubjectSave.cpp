// File Save: the subject, then its implant data, speech tests and audiogram, in one
// step. Every set is written whole or not at all, and the first set that cannot be
// stored ends the save; the subject's flags stay set while anything could not be
// stored, so nothing typed is lost.

#include "document/CQuorinDoc.h"
#include "rules/DateText.h"
#include "rules/AtoI.h"
#include "document/SessionValues.h"
#include "rules/SqlText.h"

using quorin::BindString;
using quorin::HasRow;
using quorin::StringField;
using quorin::UserInterface;

int CQuorinDoc::IsPossibleDuplicate()
{
    if (m_subject.SubjectID != -1)
        return 0;
    const QString sql =
        QStringLiteral("SELECT subjectid from subjects where firstname like '%1' and lastname like '%2'")
            .arg(quorin::sql::LikeText(m_subject.Firstname), quorin::sql::LikeText(m_subject.Lastname));
    return HasRow(m_db, quorin::RunText(m_db, sql)) ? 1 : 0;
}

bool CQuorinDoc::SaveRequiredFieldsPresent()
{
    if (!m_subject.Lastname.isEmpty() && !m_subject.Firstname.isEmpty()
        && !m_subject.DateInitial.isEmpty() && !m_subject.Birth.isEmpty())
        return true;
    // Silence after File Save would read as success while nothing was stored.
    if (Interactive)
        m_ui.MessageBox(QStringLiteral("You must enter a Last Name, First Name, Birth Date and "
                                       "Initial Consent date before saving."),
                        UserInterface::Icon::Stop);
    return false;
}

bool CQuorinDoc::SaveAudiogramStep(bool skipAudiogram)
{
    // The current test is saved, not a history test that happens to be shown.
    const bool historyShown = m_audCurrent.Latest == 0;
    if (historyShown)
        m_audCurrent.CopyAudRecord(m_audLatest);
    const bool saved = skipAudiogram || WriteCurrentAudiogram();
    if (!skipAudiogram && saved && m_audCurrent.Dirty == 1) {
        // The kept copy is now the test as stored, so Home and a later save do not
        // store it a second time.
        m_audCurrent.Dirty = 0;
        m_audLatest.CopyAudRecord(m_audCurrent);
    }
    if (historyShown && m_nHistoryShown >= 0 && m_nHistoryShown < int(m_audHistory.size())) {
        // Chart and counter keep showing the history test the user was looking at;
        // an unsaved current test stays in m_audLatest.
        m_audCurrent.CopyHistoryAudRecord(m_audHistory[m_nHistoryShown]);
        UpdateAllViews(CDocumentView::HintShowAudiogram);
    }
    return saved;
}

bool CQuorinDoc::WriteCurrentAudiogram()
{
    if (!WriteAudiogram(m_audCurrent))
        return false;
    m_db.BindIntParam("@SubjectId", m_subject.SubjectID);
    const int ran = m_db.RunStoredProcedure("uspGetTestId");
    const bool found = HasRow(m_db, ran);
    if (found)
        m_audCurrent.TestId = m_db.GetIntField("TestId");
    m_db.RemoveParams();
    if (!ran)
        return false;
    // No stored test (nothing had to be written): no points either.
    return !found || WriteAudPoints(m_audCurrent) == 1;
}

int CQuorinDoc::SaveSubject()
{
    if (Interactive && !UpdateAllViews(CDocumentView::HintHandOver))
        return 0; // a page refused its edits and has said why
    if (!SaveRequiredFieldsPresent())
        return 0;
    if (IsPossibleDuplicate()
        && m_ui.MessageBox(QStringLiteral("One or more subjects with similar details already exists. "
                                          "Use Lookup button to see details. Are you sure you want "
                                          "to add subject?"),
                           UserInterface::Icon::Default, UserInterface::Buttons::YesNo)
               == UserInterface::Answer::No)
        return 0;

    bool skipAudiogram = (m_audCurrent.Dirty == 0 && m_subject.SubjectID == -1)
                         || m_subject.AudiogramClean == 1;
    if (!Interactive)
        skipAudiogram = false;

    if (!WriteSubject()) {
        m_ui.MessageBox(QStringLiteral("There has been an error writing the Subject information!"),
                        UserInterface::Icon::Stop);
        return 0;
    }

    if (m_subject.SubjectID == -1) {
        BindString(m_db, "@last", m_subject.Lastname);
        BindString(m_db, "@first", m_subject.Firstname);
        BindString(m_db, "@birth", quorin::DbDate(m_subject.Birth));
        m_db.BindIntParam("@unit", quorin::AtoI(m_subject.Unit));
        if (HasRow(m_db, m_db.RunStoredProcedure("uspGetNewSubjectId")))
            m_subject.SubjectID = m_db.GetIntField("SubjectId");
        m_db.RemoveParams();
        if (m_subject.SubjectID == -1) {
            // Without its key nothing else can be attached to the subject.
            m_ui.MessageBox(QStringLiteral("There has been an error writing the Subject information!"),
                            UserInterface::Icon::Stop);
            return 0;
        }
    }

    // A failed set ends the save at once: its ROLLBACK also ends a transaction the
    // caller holds (a bulk run's), so a later set would be committed on its own.
    if (WriteCiData() != 1 || WriteSpeechTests() != 1 || !SaveAudiogramStep(skipAudiogram))
        return 0;
    m_subject.Modified = 0;
    m_audCurrent.Dirty = 0;
    return 1;
}
