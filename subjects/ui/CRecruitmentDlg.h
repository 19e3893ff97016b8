#pragma once
// Tools > Recruitment: the registry's recruitment methods, added and deleted by their
// text. The Subject tab offers the same list.

#include "framework/TemplateDialog.h"

#include <QString>

class CQuorinDoc;
class CReportListCtrl;

class CRecruitmentDlg : public CTemplateDialog {
    Q_OBJECT
public:
    CRecruitmentDlg(CQuorinDoc& document, QWidget* parent = nullptr);

    void OnAdd();
    void OnDelete();

    CReportListCtrl* List() const { return m_pList; }

    QString m_strMethod;

protected:
    void OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void FillList();

    CQuorinDoc& m_document;
    CReportListCtrl* m_pList;
};
