#include "resources/FieldLengths.h"

#include "framework/TemplateRegistry.h"

namespace res {

int FieldLengthOf(int templateId, int controlId)
{
    for (const FieldLength& f : FieldLengths())
        if (f.templateId == templateId && f.controlId == controlId)
            return f.length;
    return 0;
}

void ApplyFieldLengths(framework::DialogTemplate& dialogTemplate)
{
    for (const FieldLength& f : FieldLengths()) {
        if (f.templateId != dialogTemplate.id)
            continue;
        for (framework::ControlTemplate& c : dialogTemplate.controls)
            if (c.id == f.controlId)
                c.maxLength = f.length;
    }
}

void RegisterWithFieldLengths(framework::DialogTemplate dialogTemplate)
{
    ApplyFieldLengths(dialogTemplate);
    framework::RegisterDialogTemplate(std::move(dialogTemplate));
}

} // namespace res
