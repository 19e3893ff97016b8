// The history list and showing the current test again.

#include "document/CQuorinDoc.h"

void CQuorinDoc::ClearAudHistory()
{
    m_audHistory.clear();
}

void CQuorinDoc::ShowCurrentAudiogram()
{
    m_audCurrent.CopyAudRecord(m_audLatest);
    m_nHistoryPos = m_nHistoryCount + 1;
    m_nHistoryShown = -1;
    m_nHistoryNext = -1;
    m_nPageDir = 0;
    UpdateAllViews(CDocumentView::HintShowAudiogram);
}
