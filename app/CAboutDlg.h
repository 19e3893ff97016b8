#pragma once
// The About box: product and version, the institute, and the data-access components the
// program really uses with their versions.

#include "framework/TemplateDialog.h"

class CAboutDlg : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
