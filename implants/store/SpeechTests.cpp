// Reading and storing the subject's speech, language and literacy tests.

#include "document/CQuorinDoc.h"
#include "rules/DateText.h"
#include "document/SessionValues.h"
#include "document/SessionTransaction.h"

using quorin::BindString;
using quorin::StringField;

void CQuorinDoc::LoadSpeechTests(int subjectId)
{
    m_db.BindIntParam("@SubjectId", subjectId);
    if (m_db.RunStoredProcedure("uspLoadSpeech")) {
        for (; !m_db.IsEOF(); m_db.MoveNext()) {
            CSpeechTest t;
            t.TestId = m_db.GetIntField("TestId");
            t.TestName = StringField(m_db, "TestName");
            t.TestDate = StringField(m_db, "TDate");
            t.AgeAtTest = StringField(m_db, "AgeAtTest");
            t.TestedBy = StringField(m_db, "TestedBy");
            t.Lab = StringField(m_db, "Lab");
            t.Screening = StringField(m_db, "Screening");
            t.RawScore = StringField(m_db, "RawScore");
            t.StandardScore = StringField(m_db, "StandardScore");
            t.AgeEquivalent = m_db.GetIntField("AgeEquivalent");
            t.Percentile = StringField(m_db, "Percentile");
            t.SD = StringField(m_db, "SD");
            t.Other = StringField(m_db, "Other");
            t.Comments = StringField(m_db, "Comments");
            m_speechTestList.push_back(t);
        }
    }
    m_db.RemoveParams();
}

namespace {

bool WriteSpeechTest(MyADO& db, int subjectId, const CSpeechTest& t)
{
    db.BindIntParam("@SubjectId", subjectId);
    BindString(db, "@TestName", t.TestName);
    BindString(db, "@TestDate", quorin::DbDate(t.TestDate));
    BindString(db, "@AgeAtTest", t.AgeAtTest);
    BindString(db, "@TestedBy", t.TestedBy);
    BindString(db, "@Lab", t.Lab);
    BindString(db, "@Screening", t.Screening);
    BindString(db, "@RawScore", t.RawScore);
    BindString(db, "@StandardScore", t.StandardScore);
    db.BindIntParam("@AgeEquivalent", t.AgeEquivalent);
    BindString(db, "@Percentile", t.Percentile);
    BindString(db, "@SD", t.SD);
    BindString(db, "@Other", t.Other);
    BindString(db, "@Comments", t.Comments);
    const bool stored = t.TestId >= 1;
    if (stored)
        db.BindIntParam("@TestId", t.TestId);
    const int ok = db.RunStoredProcedure(stored ? "uspUpdateSpeech" : "uspWriteNewSpeech");
    db.RemoveParams();
    return ok != 0;
}

} // namespace

int CQuorinDoc::WriteSpeechTests()
{
    // All tests or none: a retry after a failure must not store the first new tests
    // a second time.
    bool ok;
    {
        quorin::SessionTransaction transaction(m_db);
        ok = transaction.Started();
        for (const CSpeechTest& t : m_speechTestList)
            if (ok)
                ok = WriteSpeechTest(m_db, m_subject.SubjectID, t);
        ok = ok && transaction.Commit();
    }
    // On failure the list stays as typed, so nothing is lost; on success it is read
    // back so new tests get their stored ids.
    if (!ok)
        return 0;
    m_speechTestList.clear();
    LoadSpeechTests(m_subject.SubjectID);
    // Rows on screen still carry the temporary ids; the views show the stored ones.
    UpdateAllViews(CDocumentView::HintSpeechTestsStored);
    return 1;
}
