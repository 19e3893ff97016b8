// Page Prev, Page Next and Home: walking from the current test back through the
// history and home again. Position 1 is the oldest history test, m_nHistoryCount + 1
// the current test.

#include "document/CQuorinDoc.h"

using quorin::UserInterface;

namespace {
const char* const kSaveFirst = "Please Save New Patients before paging through their audiograms!";
} // namespace

bool CQuorinDoc::IsPagePrevEnabled() const
{
    return !(m_bHistoryLoaded == 1 && m_nHistoryPos == 1);
}

bool CQuorinDoc::IsPageNextEnabled() const
{
    return m_nPageDir != 0 && m_nHistoryPos != m_nHistoryCount + 1;
}

void CQuorinDoc::ShowHistoryPosition(int position, int direction)
{
    m_nHistoryPos = position;
    m_nPageDir = direction;
    if (position == m_nHistoryCount + 1) {
        m_audCurrent.CopyAudRecord(m_audLatest);
        m_nHistoryShown = -1;
        m_nHistoryNext = -1;
    } else {
        m_nHistoryShown = m_nHistoryCount - position;
        m_audCurrent.CopyHistoryAudRecord(m_audHistory[m_nHistoryShown]);
        // The node the next move in the same direction takes, -1 past either end.
        const int next = direction == 1 ? m_nHistoryShown + 1 : m_nHistoryShown - 1;
        m_nHistoryNext = next >= 0 && next < m_nHistoryCount ? next : -1;
    }
    UpdateAllViews(CDocumentView::HintShowAudiogram);
}

void CQuorinDoc::OnPagePrev()
{
    if (m_subject.SubjectID == -1) {
        m_ui.MessageBox(QString::fromLatin1(kSaveFirst), UserInterface::Icon::Stop);
        return;
    }
    // The forms hand over what was typed before anything is shown in its place.
    if (!UpdateAllViews(CDocumentView::HintHandOver))
        return;
    // Leaving the editable current test: keep it, edits included, for Home and Save.
    if (m_nPageDir == 0)
        m_audLatest.CopyAudRecord(m_audCurrent);
    if (m_bHistoryLoaded == 0) {
        m_bHistoryLoaded = 1;
        ReadAudHistory();
        m_nHistoryPos = m_nHistoryCount + 1;
    }
    if (m_nHistoryCount == 0 || m_nHistoryPos <= 1)
        return;
    ShowHistoryPosition(m_nHistoryPos - 1, 1);
}

void CQuorinDoc::OnPageNext()
{
    if (m_subject.SubjectID == -1) {
        m_ui.MessageBox(QString::fromLatin1(kSaveFirst), UserInterface::Icon::Stop);
        return;
    }
    if (m_bHistoryLoaded != 1 || m_nHistoryCount < 1 || m_nHistoryPos > m_nHistoryCount)
        return;
    if (!UpdateAllViews(CDocumentView::HintHandOver))
        return;
    ShowHistoryPosition(m_nHistoryPos + 1, 2);
}

void CQuorinDoc::OnPageHome()
{
    // Not paging: the current test is on screen, maybe a new one being entered, and
    // stays as it is.
    if (m_nPageDir == 0)
        return;
    if (!UpdateAllViews(CDocumentView::HintHandOver))
        return;
    ShowCurrentAudiogram();
}
