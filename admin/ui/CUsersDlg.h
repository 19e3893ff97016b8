#pragma once
// Tools > Users: the staff members of one status (or all), added, modified and
// deactivated through the User dialog and the account operations.

#include "framework/TemplateDialog.h"

class CQuorinDoc;
class CReportListCtrl;

class CUsersDlg : public CTemplateDialog {
    Q_OBJECT
public:
    CUsersDlg(CQuorinDoc& document, QWidget* parent = nullptr);

    void OnAdd();
    void OnModify();
    void OnDelete();
    void OnFilterChanged();

    CReportListCtrl* List() const { return m_pList; }

    // The filter's index, passed to uspLoadPers as the status (4 all).
    int m_nFilter = 0;

protected:
    void OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void Reload();
    // The user name of the selected row, or "" after "Please make a selection!".
    QString SelectedUser();

    CQuorinDoc& m_document;
    CReportListCtrl* m_pList;
};
