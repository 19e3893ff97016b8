#pragma once
// The Audiogram tab's chart: the working audiogram drawn on its grid with the key and
// header, edited by clicks with the chosen symbol tool, printed from File > Print.
// The checks of a subject's first drawing run just after a paint, once per showing.

#include "document/DocumentView.h"
#include "audiograms/store/ChartEditing.h"
#include "audiograms/ui/ChartPainter.h"
#include "framework/CmdTarget.h"
#include "framework/CreateContext.h"

#include <QWidget>

class CQuorinDoc;

class CViewAud : public QWidget, public CCmdTarget, public CDocumentView {
    Q_OBJECT
public:
    CViewAud(QWidget* parent, CCreateContext* context);
    ~CViewAud() override;

    // The window class of workspace node 3.
    static TWindowClass WindowClass();

    CQuorinDoc* GetDocument() const { return m_pDocument; }

    // Every hint repaints; a subject loaded while the chart shows is checked again.
    bool OnUpdate(int hint) override;

    int Tool() const { return m_tools.m_nTool; }
    int EditExisting() const { return m_tools.m_bEditExisting; }

    // What the chart shows now (the test once it is loaded for the subject).
    quorin::ChartContent Content() const;

    // File > Print and Print Preview of the shown test.
    void OnFilePrint();
    void OnFilePrintPreview();

    // The accessible description of the shown test.
    QString DescribeChart() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void InstallCommands();
    void ScheduleFirstDrawChecks();
    void RunFirstDrawChecks();
    void RefreshDescription();

    CQuorinDoc* m_pDocument = nullptr;
    quorin::ChartTools m_tools;
    bool m_checksDue = false;     // the showing's checks still wait for a paint
    bool m_checksQueued = false;  // queued to run after the paint
    bool m_checksRunning = false;
};
