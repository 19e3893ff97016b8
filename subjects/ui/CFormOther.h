#pragma once
// The Other tab: the subject's availability for studies and its participation in study
// datasets. A row of the list is picked by double-click, edited in the fields above it
// and written back with "Update". The rows live only in the database.

#include "framework/TVisualFormView.h"

#include <QString>

class CReportListCtrl;

class CFormOther : public TVisualFormView {
    Q_OBJECT
public:
    CFormOther(QWidget* parent, CCreateContext* context);

    bool OnUpdate(int hint) override;

    // Fills the list with every participation row of the subject.
    void LoadList();
    // Loads the selected row into the fields; says so when nothing is selected.
    void OnPickRow();
    // Writes the picked row; nothing happens while none is picked.
    void OnUpdateRow();
    // A subject needs a KV Number, or a last name, first name and birth date, before its
    // participation means anything: otherwise back to the Subject tab with a message.
    // Returns true when the subject passed.
    bool CheckIdentity();

    CReportListCtrl* List() const { return m_pList; }
    const QString& PickedIrb() const { return m_strIrb; }
    const QString& PickedDataset() const { return m_strDataset; }

    // Availability, copied from and to the subject.
    int m_nLongterm = 0, m_nShortterm = 0, m_nWorkday = 0, m_nEvenings = 0, m_nWeekends = 0, m_nOther = 0;
    // The row being edited.
    QString m_strProject, m_strGrant, m_strDate1, m_strDate2;
    int m_nSessions = -1;
    int m_nContacted = -1, m_nParticipated = -1, m_nCompleted = -1;
    QString m_strExContact, m_strExPartic, m_strComments;
    int m_nAppts = -1, m_nShow = -1, m_nCallAgain = -1;
    QString m_strFDate, m_strLab;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void InsertColumns();
    void ResetRowFields();
    void ForgetPickedRow();
    void ShowDocumentData();

    CReportListCtrl* m_pList;
    QString m_strIrb;     // of the picked row; empty while none is picked
    QString m_strDataset;
};
