#include "framework/DataExchange.h"

#include "framework/ControlId.h"
#include "framework/FocusChain.h"

#include <QLineEdit>

CDataExchange::CDataExchange(QWidget* dialog, bool saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog)
{
}

QWidget* CDataExchange::PrepareCtrl(int id)
{
    QWidget* control = framework::FindControl(m_pDlgWnd, id);
    if (!control) {
        qWarning("data exchange: no control with id %d", id);
        throw CDataExchangeFailure{};
    }
    m_lastControl = control;
    m_lastIsEdit = false;
    return control;
}

QWidget* CDataExchange::PrepareEditCtrl(int id)
{
    QWidget* control = PrepareCtrl(id);
    m_lastIsEdit = true;
    return control;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_lastControl) {
        // The field may be on a page that is not in front (a save from another tab).
        if (m_lastIsEdit)
            framework::ReturnFocusTo(m_lastControl);
        else if (framework::ShowPageOf(m_lastControl))
            m_lastControl->setFocus(Qt::OtherFocusReason);
    }
    throw CDataExchangeFailure{};
}

void ShowBeginningOfTexts(QWidget* dialog)
{
    for (QLineEdit* edit : dialog->findChildren<QLineEdit*>())
        if (!edit->hasFocus())
            edit->setCursorPosition(0);
}
