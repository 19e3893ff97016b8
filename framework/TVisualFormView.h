#pragma once
// The base of every form page: a view of the document built from a dialog template,
// with data exchange and a command map. A hidden page is disabled, and Qt passes that
// state on to every control of the form (a control disabled on its own stays so).

#include "app/DocumentView.h"
#include "framework/CmdTarget.h"
#include "framework/CreateContext.h"
#include "framework/DataExchange.h"

#include <QWidget>

class TVisualFormView : public QWidget, public CCmdTarget, public CDocumentView {
    Q_OBJECT
public:
    // Builds the template's controls (an id without a template gives an empty form) and
    // attaches the view to the context's document.
    TVisualFormView(int templateId, QWidget* parent, CCreateContext* context);
    ~TVisualFormView() override;

    // A window class creating T (constructed with parent and context) as a view node.
    template <class T>
    static TWindowClass ClassOf(const QString& name)
    {
        return TWindowClass{name, 5, [](QWidget* parent, CCreateContext* context) -> QWidget* {
                                return new T(parent, context);
                            }};
    }

    // An empty form page that stands for a form of a later subsystem.
    static TWindowClass EmptyFormClass(const QString& name);

    CQuorinDoc* GetDocument() const { return m_pDocument; }
    int TemplateId() const { return m_templateId; }

    // Controls -> members (save) or members -> controls; false when a check failed.
    bool UpdateData(bool saveAndValidate = true);

    // Hint 0 refreshes the controls, hint 1 hands the edits over (false refuses the
    // hand-over when a check failed); hint 2 does nothing here.
    bool OnUpdate(int hint) override;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);

private:
    CQuorinDoc* m_pDocument = nullptr;
    int m_templateId;
};
