#pragma once
// A dialog built from a template: OK (id 1) and Cancel (id 2) run OnOK and OnCancel;
// the default push button answers Enter in any field. Shown modal by DoModal, or
// modeless beside its parent by ShowModeless.

#include "framework/DataExchange.h"

#include <QDialog>

class CTemplateDialog : public QDialog {
    Q_OBJECT
public:
    enum { IDOK = 1, IDCANCEL = 2 };

    CTemplateDialog(int templateId, QWidget* parent = nullptr);

    // Runs the dialog; returns 1 for OK, 2 for Cancel or close.
    int DoModal();

    // Shows the dialog without a modal loop: the parent keeps taking input, and the
    // dialog deletes itself when it is closed (OK, Cancel, Escape or its close box).
    void ShowModeless();
    bool IsModeless() const { return m_modeless; }

    // The command that opened a modeless dialog came again while it is open: it is
    // brought to the front, then this runs.
    virtual void OnReopen() {}

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
    bool m_modeless = false;
};
