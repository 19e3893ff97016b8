#include "implants/ui/CidImportUi.h"

#include "document/CQuorinDoc.h"
#include "registration/DialogRegistry.h"
#include "registration/DocumentCommandRegistry.h"
#include "document/DocumentView.h"
#include "registration/WorkspacePages.h"
#include "implants/ui/CCidLookupDlg.h"
#include "implants/ui/CFormCIDataView.h"
#include "implants/ui/CidTemplates.h"
#include "resources/Resource.h"

namespace quorin {

namespace {

constexpr unsigned kCiDataNode = 8;

// "Check CID DB" on the CI Data tab. The tab shows the document again after the
// handler, so what was typed on the pages goes into the document first: a Cancel then
// keeps it, and the lookup searches with the unit and names as the Subject tab has them.
void CheckCid(CFormCIDataView* view)
{
    CQuorinDoc* document = view->GetDocument();
    if (!document || !document->UpdateAllViews(CDocumentView::HintHandOver))
        return; // a page refused its edits and has said why
    document->CheckCidDatabase();
}

// The CI Data tab as its subsystem registered it, with "Check CID DB" wired.
void WireCheckCidButton()
{
    const TWindowClass tab = WorkspacePageClass(kCiDataNode);
    if (!tab.create)
        return;
    TWindowClass wired = tab;
    wired.create = [create = tab.create](QWidget* parent, CCreateContext* context) -> QWidget* {
        QWidget* page = create(parent, context);
        if (auto* view = qobject_cast<CFormCIDataView*>(page))
            view->SetCheckCidHandler([view] { CheckCid(view); });
        return page;
    };
    RegisterWorkspacePage(kCiDataNode, wired);
}

} // namespace

void RegisterCidImport()
{
    WireCheckCidButton();
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
