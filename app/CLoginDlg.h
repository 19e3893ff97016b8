#pragma once
// The login dialog: user name, password and server, with the institute's logo on the
// left. Only an empty user name is refused.

#include "framework/TemplateDialog.h"

class CLoginDlg : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CLoginDlg(QWidget* parent = nullptr);

    QString m_strUserName;
    QString m_strPassword;
    QString m_strServer;

protected:
    void OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void paintEvent(QPaintEvent* event) override;
};
