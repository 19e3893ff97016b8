#pragma once
// A tab whose fields and lists are filled from the document only when it is in front: a
// subject loaded, or the document emptied, while the tab is hidden leaves it to fill
// itself when it is next shown. The document's flag for the tab says whether its data
// has been shown since the last load.

#include "framework/TVisualFormView.h"

class CQuorinDoc;

class LazyFilledForm : public TVisualFormView {
    Q_OBJECT
public:
    using TVisualFormView::TVisualFormView;

    bool OnUpdate(int hint) final;

protected:
    // The document's "shown since the last load" flag of this tab.
    virtual int& ShownFlag(CQuorinDoc& document) const = 0;
    // Fills the tab's lists from the document.
    virtual void FillTabLists() = 0;
    // The hints after the tab's data has been shown (hand-over, audiogram, the tab's own).
    virtual bool OnShownUpdate(int hint) = 0;

    void ShowDocumentData();
    void showEvent(QShowEvent* event) override;
};
