#pragma once
// The main frame with its workspace on the offscreen screen, the chart page at hand,
// and a stored subject with a test to show on it.

#include "FormFixture.h"

#include "app/CDocumentCommands.h"
#include "app/CMainFrame.h"

#include <QString>

#include <memory>

class CViewAud;
class QAction;

namespace quorin::test {

class ChartTest : public FormTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The main frame with its workspace over the current document.
    void BuildFrame();
    // Stores a subject (KV Number 4711, Lee, Morgan) whose current test of 03/04/2025
    // has a red circle at 2000 Hz / 30 dB and a blue X at 1000 Hz / 40 dB, and loads it.
    int LoadStoredSubject();

    // Brings the chart's tab forward and lets its first-draw checks run.
    void ShowChart();
    void ShowSubjectTab();

    QAction* Action(unsigned id) const;
    // Clicks the chart on the line of frequency index x, at level index y.
    void ClickPoint(int x, int y, Qt::KeyboardModifiers modifiers = {});
    void ClickPixel(int px, int py, Qt::KeyboardModifiers modifiers = {});

    // The path of an output file next to the test binary.
    static QString OutputPath(const QString& name);

    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CDocumentCommands> commands;
    CViewAud* chart = nullptr;
};

} // namespace quorin::test
