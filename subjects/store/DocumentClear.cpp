// Emptying the document before another subject is loaded or entered.

#include "document/CQuorinDoc.h"

void CQuorinDoc::ClearDocument()
{
    RefreshSubjectForm = 1;
    m_subject.Clear();
    m_audCurrent.ResetAudRecord(true);
    m_audLatest.ResetAudRecord(true);
    m_ciData.Clear();
    m_speechTest.Clear();
    m_ciSpeechList.clear();
    m_speechTestList.clear();

    UpdateAllViews(CDocumentView::HintRefresh);

    // Each per-subject page reloads from the document the next time it is shown; the
    // Data tab too, so a new subject never shows the previous subject's test data.
    RefreshSubjectForm = 0;
    ConsentNotice = 0;
    ParticipationLoaded = 0;
    CiLoaded = 0;
    SllLoaded = 0;
    m_bChartLoaded = 0;
    m_bNewAudStarted = 0;
    m_bAudOtherFilled = 0;
    m_bAudDataFilled = 0;

    // The history belongs to the previous subject, and so does its total.
    ClearAudHistory();
    m_nHistoryShown = -1;
    m_nHistoryNext = -1;
    m_bHistoryLoaded = 0;
    m_nHistoryCount = 0;
    ShowCurrentAudiogram();
}
