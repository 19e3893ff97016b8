#include "controls/DdxStoredCode.h"

#include "framework/DdxStandard.h"

#include <QComboBox>

void DDX_StoredCodeIndex(CDataExchange* pDX, int id, int& code)
{
    auto combo = qobject_cast<QComboBox*>(pDX->PrepareCtrl(id));
    if (pDX->m_bSaveAndValidate && combo && combo->currentIndex() < 0)
        return;
    DDX_CBIndex(pDX, id, code);
}
