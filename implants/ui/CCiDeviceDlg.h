#pragma once
// The CI Device dialog: one implanted device. Leaving Surgery Date fills Age at Implant
// from the subject's birth date.

#include "framework/TemplateDialog.h"
#include "implants/record/CCiDevice.h"

class CQuorinDoc;
class QLineEdit;

class CCiDeviceDlg : public CTemplateDialog {
    Q_OBJECT
public:
    CCiDeviceDlg(CQuorinDoc& doc, const CCiDevice& device, QWidget* parent = nullptr);

    // The device as typed, after OK.
    const CCiDevice& Device() const { return m_device; }

protected:
    void OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnSurgeryDateFocusLost();

    CQuorinDoc& m_doc;
    CCiDevice m_device;
    QLineEdit* m_pSurgeryDate = nullptr;
};
