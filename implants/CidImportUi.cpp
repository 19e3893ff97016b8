#include "implants/CidImportUi.h"

#include "app/CQuorinDoc.h"
#include "app/DialogRegistry.h"
#include "app/DocumentCommandRegistry.h"
#include "implants/CCidLookupDlg.h"
#include "resources/CidTemplates.h"
#include "resources/Resource.h"

namespace quorin {

void RegisterCidImport()
{
    res::RegisterCidTemplates();
    RegisterDialog(UserInterface::Dialog::CidLookup, [](QWidget* parent, CQuorinDoc& document) {
        CCidLookupDlg dialog(document, parent);
        dialog.m_strUnit = document.m_subject.Unit;
        dialog.m_strLast = document.m_subject.Lastname;
        dialog.m_strFirst = document.m_subject.Firstname;
        const int result = dialog.DoModal();
        if (result == 1)
            document.m_nCidPatientId = dialog.m_nPatientId;
        return result;
    });
    RegisterDocumentCommand(res::ID_TOOLS_CID_IMPORT, {[](CQuorinDoc& d) { d.OnCidImport(); }, {}});
    RegisterDocumentCommand(res::ID_TOOLS_UPDATE_QUORIN, {[](CQuorinDoc& d) { d.OnUpdateQuorinFromCid(); }, {}});
}

} // namespace quorin
