#pragma once
// The audiogram Data tab: the non-graphic half of the shown test (test information,
// type of loss, immittance, screening, special history, speech audiometry), exchanged
// directly with the fields of the document's m_audCurrent.
//
// The tab fills itself from the test the first time it is shown after
// m_bAudDataFilled was cleared (a load, a new test, an emptied document), and at once
// when that happens while it is on screen. After that it keeps what the user types:
// hint 1 (before a save, the history build and every page move) hands it over and
// refuses when a field fails its check, hint 2 shows the test again after paging.
// Only the user's own typing, choosing and clicking marks the test for saving.

#include "framework/TVisualFormView.h"

#include <QString>

class QLineEdit;

class CFormAudData : public TVisualFormView {
    Q_OBJECT
public:
    CFormAudData(QWidget* parent, CCreateContext* context);

    bool OnUpdate(int hint) override;

    // The one change handler of every control.
    void OnChange();
    // Leaving the Test Date: a date IsValidDate accepts shows the age at test; any other
    // text says so and returns false (the focus goes back).
    bool OnTestDateLeft();

    // The whole years from birth to test, as the age at test shows them: 0 for an empty
    // or unreadable date.
    static int AgeAtTest(const QString& birth, const QString& testDate);

    int m_nAge = -1;     // shown only
    QString m_strName;   // "Last, First" of the subject
    QString m_strBirth;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* Edit(int id) const;
    void ConnectChanges();
    // The test into the controls; the tab counts as filled.
    void Fill();
    // Name, birth date and age again, for a subject edited on its own tab meanwhile.
    void ShowSubjectLine();
};
