#include "reports/query/ChangeHistoryPaging.h"

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"

#include <cstddef>
#include <optional>

namespace quorin {

namespace {

// Whether the open subject still has the test; nothing when the statement failed (the
// session has shown why).
std::optional<bool> TestExists(CQuorinDoc& document, int testId)
{
    const int ran = RunText(document.m_db, QStringLiteral("Select count(*) as num from aud where TestId = %1 and "
                                                          "SubjectId = %2")
                                               .arg(testId)
                                               .arg(document.m_subject.SubjectID));
    if (!ran)
        return std::nullopt;
    return !document.m_db.IsEOF() && document.m_db.GetIntField("num") > 0;
}

// While an older test is shown, the current one is kept aside.
int CurrentTestId(const CQuorinDoc& document)
{
    return document.m_nPageDir == 0 ? document.m_audCurrent.TestId : document.m_audLatest.TestId;
}

// The test's paging position (1 the oldest of the history), 0 when the history lacks it.
int HistoryPosition(const CQuorinDoc& document, int testId)
{
    for (std::size_t i = 0; i < document.m_audHistory.size(); ++i)
        if (document.m_audHistory[i].TestId == testId)
            return document.m_nHistoryCount - static_cast<int>(i);
    return 0;
}

// One test at a time, as the paging commands go; false when a move did not happen.
bool PageTo(CQuorinDoc& document, int position)
{
    while (document.m_nHistoryPos != position) {
        const int before = document.m_nHistoryPos;
        if (position < before)
            document.OnPagePrev();
        else
            document.OnPageNext();
        if (document.m_nHistoryPos == before)
            return false;
    }
    return true;
}

bool ShowCurrentTest(CQuorinDoc& document)
{
    document.OnPageHome();
    return document.m_nPageDir == 0;
}

bool ShowHistoryTest(CQuorinDoc& document, int testId)
{
    // The first Page Prev reads the history.
    if (!document.m_bHistoryLoaded) {
        document.OnPagePrev();
        if (!document.m_bHistoryLoaded)
            return false;
    }
    const int position = HistoryPosition(document, testId);
    if (position == 0) {
        document.UI().MessageBox(QStringLiteral("Audiogram test %1 is not among the tests the audiogram history "
                                                "pages through.")
                                     .arg(testId));
        return false;
    }
    return PageTo(document, position);
}

} // namespace

bool PageToAudiogramTest(CQuorinDoc& document, int testId)
{
    const std::optional<bool> exists = TestExists(document, testId);
    if (!exists)
        return false;
    if (!*exists) {
        document.UI().MessageBox(QStringLiteral("Audiogram test %1 no longer exists.").arg(testId));
        return false;
    }
    const bool shown =
        CurrentTestId(document) == testId ? ShowCurrentTest(document) : ShowHistoryTest(document, testId);
    if (shown)
        document.UI().BringForward(UserInterface::Page::Audiogram);
    return shown;
}

} // namespace quorin
