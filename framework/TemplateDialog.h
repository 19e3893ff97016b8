#pragma once
// A modal dialog built from a template: OK (id 1) and Cancel (id 2) run OnOK and
// OnCancel; the default push button answers Enter in any field.

#include "framework/DataExchange.h"

#include <QDialog>

class CTemplateDialog : public QDialog {
    Q_OBJECT
public:
    enum { IDOK = 1, IDCANCEL = 2 };

    CTemplateDialog(int templateId, QWidget* parent = nullptr);

    // Runs the dialog; returns 1 for OK, 2 for Cancel or close.
    int DoModal();

    bool UpdateData(bool saveAndValidate = true);

protected:
    virtual void OnInitDialog() {}
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange*) {}

    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    bool m_initialised = false;
};
