#include "implants/ui/CCiDeviceDlg.h"

#include "document/CQuorinDoc.h"
#include "controls/DdxFields.h"
#include "framework/ControlId.h"
#include "framework/DdxStandard.h"
#include "implants/store/CiDataEditing.h"
#include "implants/ui/CiFieldExchange.h"
#include "implants/ui/CiDataTemplates.h"

#include <QFocusEvent>
#include <QLineEdit>

using namespace res::cidevice;

CCiDeviceDlg::CCiDeviceDlg(CQuorinDoc& doc, const CCiDevice& device, QWidget* parent)
    : CTemplateDialog(res::IDD_CI_DEVICE, parent), m_doc(doc), m_device(device)
{
    setObjectName(QStringLiteral("CCiDeviceDlg"));
    m_pSurgeryDate = framework::FindControlAs<QLineEdit>(this, IDC_SURGERY_DATE);
    if (m_pSurgeryDate)
        m_pSurgeryDate->installEventFilter(this);
}

void CCiDeviceDlg::OnInitDialog()
{
    if (QWidget* first = framework::FindControl(this, IDC_EAR))
        first->setFocus(Qt::OtherFocusReason);
}

void CCiDeviceDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_CBString(pDX, IDC_EAR, m_device.Ear);
    DDX_CBString(pDX, IDC_DEVICE, m_device.Device);
    DDX_CBString(pDX, IDC_POSITIONER, m_device.Positioner);
    quorin::DDX_RealDateField(pDX, IDC_SURGERY_DATE, m_device.SurgDate);
    DDX_IntField(pDX, IDC_AGE_AT_IMPLANT, m_device.AgeAtImplant);
    DDX_Text(pDX, IDC_SURGEON, m_device.Surgeon);
    DDX_Text(pDX, IDC_HOSPITAL, m_device.Hospital);
    quorin::DDX_RealDateField(pDX, IDC_STIM_DATE, m_device.StimDate);
    DDX_CBString(pDX, IDC_STATUS, m_device.Status);
    quorin::DDX_RealDateField(pDX, IDC_EXPLANT_DATE, m_device.ExplantDate);
}

void CCiDeviceDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    const auto refuse = [this](const char* text, int id) {
        m_doc.UI().MessageBox(QString::fromLatin1(text), quorin::UserInterface::Icon::Stop);
        if (QWidget* field = framework::FindControl(this, id))
            field->setFocus(Qt::OtherFocusReason);
    };
    if (m_device.Ear.trimmed().isEmpty())
        return refuse("Please Enter the Ear!", IDC_EAR);
    if (m_device.Device.trimmed().isEmpty())
        return refuse("Please the Device!", IDC_DEVICE);
    accept();
}

void CCiDeviceDlg::OnSurgeryDateFocusLost()
{
    // Without a real birth and surgery date, or with a surgery before the birth, the age
    // stays as it was.
    const std::optional<int> months = quorin::AgeAtImplantMonths(m_doc, m_doc.m_subject.Birth, m_pSurgeryDate->text());
    if (months)
        framework::SetWindowText(framework::FindControl(this, IDC_AGE_AT_IMPLANT), QString::asprintf("%d", *months));
}

bool CCiDeviceDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pSurgeryDate && event->type() == QEvent::FocusOut) {
        // Focus lost to a box or another window is no leaving of the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            OnSurgeryDateFocusLost();
    }
    return CTemplateDialog::eventFilter(watched, event);
}
