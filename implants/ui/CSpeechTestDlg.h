#pragma once
// The Speech Test dialog: one test's fields. Age-Equivalent is typed as years and
// months; leaving Date of Test fills Age at time of test from the subject's birth date.

#include "framework/TemplateDialog.h"
#include "implants/record/CSpeechTest.h"

class CQuorinDoc;
class QLineEdit;

class CSpeechTestDlg : public CTemplateDialog {
    Q_OBJECT
public:
    // Shows the test's fields; "Tested by:" offers the testers of the subject's tests.
    CSpeechTestDlg(CQuorinDoc& doc, const CSpeechTest& test, QWidget* parent = nullptr);

    // The test as typed, after OK.
    const CSpeechTest& Test() const { return m_test; }

protected:
    void OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnTestDateFocusLost();
    bool IsRefusedDate(const QString& text) const;

    CQuorinDoc& m_doc;
    CSpeechTest m_test;
    int m_nYears = 0;
    int m_nMonths = 0;
    QLineEdit* m_pTestDate = nullptr;
};
