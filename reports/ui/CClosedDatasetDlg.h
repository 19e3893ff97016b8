#pragma once
// The Closed Dataset window: an IRB (its list filled the first time the combo gets the
// focus), then a dataset of it (the list refilled when the IRB list closes); closing the
// dataset list loads every subject's contact sheet. Save writes it as CSV, ReOpen
// releases the loaded dataset again. No Print.

#include "reports/ui/CReportDlg.h"
#include "reports/query/ClosedDatasetReport.h"

class QComboBox;

class CClosedDatasetDlg : public CReportDlg {
    Q_OBJECT
public:
    CClosedDatasetDlg(CQuorinDoc& document, QWidget* parent = nullptr);

    void OnIrbFocus();
    void OnIrbCloseUp();
    void OnDatasetCloseUp();
    void OnSave();
    void OnReOpen();

    // What the list shows was loaded with (empty before the first load).
    const quorin::ClosedDatasetLoad& Loaded() const { return m_load; }

    bool m_bIrbFilled = false;

protected:
    std::vector<Column> Columns() const override;
    void BuildList(quorin::CReportQuery& query, CReportList& list) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* m_pIrb;
    QComboBox* m_pDataset;
    quorin::ClosedDatasetLoad m_load;
};
