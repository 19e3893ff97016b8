#include "framework/TVisualFormView.h"

#include "app/CQuorinDoc.h"
#include "framework/TemplateBuilder.h"
#include "framework/TemplateRegistry.h"


TVisualFormView::TVisualFormView(int templateId, QWidget* parent, CCreateContext* context)
    : QWidget(parent), m_templateId(templateId)
{
    if (const framework::DialogTemplate* form = framework::FindDialogTemplate(templateId)) {
        const framework::TemplateBuilder builder(framework::TemplateBuilder::DialogFont(*form));
        setMinimumSize(builder.Build(*form, this));
    }
    m_pDocument = context ? context->m_pCurrentDoc : nullptr;
    if (m_pDocument)
        m_pDocument->AddView(this);
    setFocusPolicy(Qt::StrongFocus);
}

TVisualFormView::~TVisualFormView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

TWindowClass TVisualFormView::EmptyFormClass(const QString& name)
{
    return TWindowClass{name, 5, [name](QWidget* parent, CCreateContext* context) -> QWidget* {
                            auto view = new TVisualFormView(0, parent, context);
                            view->setObjectName(name);
                            return view;
                        }};
}

bool TVisualFormView::UpdateData(bool saveAndValidate)
{
    return RunDataExchange(this, saveAndValidate, [this](CDataExchange* pDX) { DoDataExchange(pDX); });
}

bool TVisualFormView::OnUpdate(int hint)
{
    switch (hint) {
    case CDocumentView::HintRefresh: UpdateData(false); return true;
    case CDocumentView::HintHandOver: return UpdateData(true);
    default: return true;
    }
}

void TVisualFormView::DoDataExchange(CDataExchange*)
{
}
