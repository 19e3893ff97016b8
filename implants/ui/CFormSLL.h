#pragma once
// The S/L/L tab: the subject's two speech-therapy answers and the list of its speech,
// language and literacy tests, added and edited in the Speech Test dialog and deleted
// from here. Tests reach the database with the subject's save; a delete at once.

#include "implants/ui/LazyFilledForm.h"
#include "implants/record/CSpeechTest.h"

#include <QString>
#include <functional>
#include <optional>

class CReportListCtrl;

class CFormSLL : public LazyFilledForm {
    Q_OBJECT
public:
    CFormSLL(QWidget* parent, CCreateContext* context);

    // Rows of the document's tests, in list order.
    void FillList();
    void OnAdd();
    void OnEdit();
    void OnDelete();

    CReportListCtrl* List() const { return m_pList; }

    QString m_strPastSpeech;
    QString m_strCurrentSpeech;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    int& ShownFlag(CQuorinDoc& document) const override;
    void FillTabLists() override { FillList(); }
    bool OnShownUpdate(int hint) override;

private:
    std::optional<int> SelectedTestId() const;
    void SelectTest(int testId);
    bool RunSpeechTestDialog(CSpeechTest& test);
    void MarkModified();

    CReportListCtrl* m_pList;
};
