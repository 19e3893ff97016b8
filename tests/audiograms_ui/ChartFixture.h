#pragma once
// The main frame on the offscreen screen with the chart, Data and Comments pages at hand,
// and a stored subject with a test to show on them.

#include "FormFixture.h"

#include "app/CDocumentCommands.h"
#include "app/CMainFrame.h"
#include "framework/MessageRecorder.h"

#include <QString>

#include <memory>

class CFormAudData;
class CFormAudOther;
class CViewAud;
class TVisualNode;

namespace quorin::test {

class ChartTest : public FormTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Stores and loads Lee, Morgan (KV Number 4711, born 04/09/1987) whose test of
    // 03/04/2025 by A. Tester (SRT 15, comments) has a red circle at 2000 Hz / 30 dB and
    // a blue X at 1000 Hz / 40 dB.
    int LoadStoredSubject();
    // Brings the page forward and lets its checks, which follow its paint, run.
    void Show(TVisualNode* page);
    // Clicks the chart on the line of frequency index x, at level index y.
    void ClickPoint(int x, int y, Qt::KeyboardModifiers modifiers = {});
    void SaveByKeys(); // Ctrl+S where the focus is
    QString Stored(int subjectId, const char* column) const; // of the subject's newest test

    // The framework's own boxes (a field's check), answered and recorded.
    framework::test::MessageRecorder boxes;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CDocumentCommands> commands;
    CViewAud* chart = nullptr;
    CFormAudData* data = nullptr;
    CFormAudOther* comments = nullptr;
};

} // namespace quorin::test
