#include "framework/TemplateDialog.h"

#include "framework/ControlId.h"
#include "framework/MessageBox.h"
#include "framework/TemplateBuilder.h"
#include "framework/TemplateRegistry.h"

#include <QAbstractButton>

CTemplateDialog::CTemplateDialog(int templateId, QWidget* parent) : QDialog(parent)
{
    setModal(true);
    if (const framework::DialogTemplate* form = framework::FindDialogTemplate(templateId)) {
        setWindowTitle(form->caption);
        const framework::TemplateBuilder builder(framework::TemplateBuilder::DialogFont(*form));
        setFixedSize(builder.Build(*form, this));
    } else {
        setWindowTitle(framework::MessageCaption());
    }
    if (auto ok = framework::FindControlAs<QAbstractButton>(this, IDOK))
        connect(ok, &QAbstractButton::clicked, this, [this] { OnOK(); });
    if (auto cancel = framework::FindControlAs<QAbstractButton>(this, IDCANCEL))
        connect(cancel, &QAbstractButton::clicked, this, [this] { OnCancel(); });
}

int CTemplateDialog::DoModal()
{
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

void CTemplateDialog::ShowModeless()
{
    m_modeless = true;
    setModal(false);
    setWindowModality(Qt::NonModal);
    setAttribute(Qt::WA_DeleteOnClose);
    show();
    raise();
    activateWindow();
}

bool CTemplateDialog::UpdateData(bool saveAndValidate)
{
    return RunDataExchange(this, saveAndValidate, [this](CDataExchange* pDX) { DoDataExchange(pDX); });
}

void CTemplateDialog::OnOK()
{
    if (UpdateData(true))
        accept();
}

void CTemplateDialog::OnCancel()
{
    QDialog::reject();
}

void CTemplateDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_initialised) {
        m_initialised = true;
        UpdateData(false);
        OnInitDialog();
    }
}

void CTemplateDialog::reject()
{
    // Escape and the close box come here; they mean Cancel.
    OnCancel();
}
