#include "implants/ui/LazyFilledForm.h"

#include "document/CQuorinDoc.h"

void LazyFilledForm::ShowDocumentData()
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    UpdateData(false);
    FillTabLists();
    ShownFlag(*doc) = 1;
}

bool LazyFilledForm::OnUpdate(int hint)
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return true;
    if (hint == HintRefresh) {
        if (isVisible())
            ShowDocumentData();
        return true;
    }
    if (!ShownFlag(*doc))
        return true;
    return OnShownUpdate(hint);
}

void LazyFilledForm::showEvent(QShowEvent* event)
{
    TVisualFormView::showEvent(event);
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    if (!ShownFlag(*doc))
        ShowDocumentData();
    else
        FillTabLists();
}
